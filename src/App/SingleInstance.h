#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <set>

class QSocketNotifier;

/// Keeps Kestavon to one process per user and data folder: two processes would fight over the
/// hotkeys and overwrite each other's bindings. The first process listens on a local socket;
/// a later start reaches it there, asks it to show its window (or, for "kestavon --quit", to
/// quit, and for "kestavon --jump KEY", to run a key's stroke), and stops. The socket is a plain local one watched by the event loop: the network
/// library's local sockets would bring a megabyte of its code into memory at every start.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Request { show, quit };
    /// What became of a jump asked of the running instance.
    enum class JumpAnswer { ran, unbound, noAnswer, notRunning };
    /// Runs the stroke of a key in the listening instance; whether one ran.
    using JumpHandler = std::function<bool(const QString& keyID)>;

    /// The socket for this user's data folder, in socketFolder(); empty without one.
    static QString socketPath();
    /// A folder of this user's alone (the user's, mode 0700) for the socket: the runtime folder
    /// when it is set and private, else "kestavon" in the user's cache folder, made or closed to
    /// others as needed. Empty when neither is private.
    static QString socketFolder();
    /// Hands `request` to the instance listening at `path`; false when none listens there.
    static bool ask(const QString& path, Request request);
    /// Asks the instance listening at `path` to run the stroke of `keyID`, and waits for its answer.
    static JumpAnswer jump(const QString& path, const QString& keyID);
    /// Claims the socket at `path`. Nothing when another instance holds it (that instance
    /// has been asked to show its window). A socket left behind by a process that ended is
    /// taken over. Where no socket can be made at all (an empty path among them), the claim
    /// still succeeds: Kestavon runs, only without the guard.
    static std::unique_ptr<SingleInstance> claim(const QString& path);

    /// Stops listening and removes the socket.
    ~SingleInstance() override;

    bool listening() const { return server_ >= 0; }
    /// What answers jumps; without one, every jump is answered "unbound".
    void setJumpHandler(JumpHandler handler) { jumpHandler_ = std::move(handler); }

signals:
    void showRequested();
    void quitRequested();

private:
    SingleInstance() = default;
    /// Listens at `path`; the reason when it cannot.
    std::optional<QString> listen(const QString& path);
    void acceptCallers();
    /// Reads what a caller sent so far; once it is a whole request, or the caller hung up,
    /// the call ends.
    void readFrom(int caller, QByteArray& received, QSocketNotifier* notifier);

    int server_ = -1;
    QString path_;
    std::set<int> callers_;
    JumpHandler jumpHandler_;
};
