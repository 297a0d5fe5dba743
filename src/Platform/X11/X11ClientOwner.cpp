#include "X11ClientOwner.h"

#include "Platform/Linux/ProcessInfo.h"

#include <algorithm>
#include <climits>

X11ClientOwner::X11ClientOwner(uid_t user, QByteArray proc) : user_(user), proc_(std::move(proc)) {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) == 0) host_ = QByteArray(name);
}

bool X11ClientOwner::isOurs(const X11ClientProcess& process) {
    if (!process.pid) return false;
    return isOurs(*process.pid, process.fromServer ? std::nullopt : process.clientMachine);
}

bool X11ClientOwner::isOurs(std::int32_t pid, const std::optional<QByteArray>& clientMachine) {
    if (pid <= 0) return false;
    if (clientMachine && !clientMachine->isEmpty() && !isHost(*clientMachine, host_)) return false;
    const auto known =
        std::find_if(known_.begin(), known_.end(), [pid](const auto& k) { return k.first == pid; });
    if (known != known_.end()) return known->second;
    const bool ours = ProcessInfo::realUser(pid, proc_) == user_;
    known_.emplace_back(pid, ours);
    return ours;
}

bool X11ClientOwner::isHost(const QByteArray& clientMachine, const QByteArray& host) {
    if (clientMachine.isEmpty() || host.isEmpty()) return false;
    const auto same = [](const QByteArray& a, const QByteArray& b) {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    };
    if (same(clientMachine, host)) return true;
    // "box" and "box.example.org": the short name is the first label of the long one.
    const QByteArray& shorter = clientMachine.size() < host.size() ? clientMachine : host;
    const QByteArray& longer = clientMachine.size() < host.size() ? host : clientMachine;
    return !shorter.contains('.') && longer.size() > shorter.size() && longer.at(shorter.size()) == '.' &&
           same(longer.left(shorter.size()), shorter);
}
