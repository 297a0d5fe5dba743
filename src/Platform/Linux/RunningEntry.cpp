#include "RunningEntry.h"

#include "ProcessInfo.h"

#include <initializer_list>
#include <optional>

namespace RunningEntry {
namespace {

RunningApplication application(std::int32_t identifier, const DesktopEntry* entry,
                               std::initializer_list<QString> names) {
    RunningApplication running;
    running.processIdentifier = identifier;
    if (entry) {
        running.localizedName = entry->localizedName;
        running.bundleIdentifier = entry->id;
        running.bundleURL = entry->path;
        return running;
    }
    for (const QString& name : names) {
        if (!name.isEmpty()) {
            running.localizedName = name;
            break;
        }
    }
    return running;
}

} // namespace

RunningApplication ofProcess(std::int32_t pid, const QString& windowClass, const QString& instance,
                             const DesktopEntryIndex::Entries& entries) {
    const DesktopEntry* entry = nullptr;
    std::optional<DesktopEntry> launchedFrom;
    if (const auto file = ProcessInfo::launchedDesktopFile(pid)) {
        entry = entries.atPath(*file);
        if (!entry) {
            launchedFrom = DesktopEntry::read(
                *file, DesktopEntryIndex::desktopFileId(*file, DesktopEntryIndex::applicationFolders()));
            if (launchedFrom) entry = &*launchedFrom;
        }
    }
    if (!entry) entry = entries.withStartupWMClass(windowClass, instance);
    if (!entry) entry = entries.namedLike(windowClass, instance);
    const QString executable = ProcessInfo::executableName(pid);
    const QString command = ProcessInfo::commandName(pid);
    if (!entry) entry = entries.running(executable, false);
    // The kernel keeps 15 bytes of a process name.
    if (!entry) entry = entries.running(command, command.toUtf8().size() >= 15);
    return application(pid, entry, {windowClass, executable, command});
}

RunningApplication ofClass(std::int32_t identifier, const QString& windowClass,
                           const DesktopEntryIndex::Entries& entries) {
    const DesktopEntry* entry = nullptr;
    if (!windowClass.isEmpty()) {
        entry = entries.withStartupWMClass(windowClass, windowClass);
        if (!entry) entry = entries.namedLike(windowClass, windowClass);
    }
    return application(identifier, entry, {windowClass});
}

} // namespace RunningEntry
