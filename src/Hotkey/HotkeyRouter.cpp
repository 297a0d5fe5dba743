#include "HotkeyRouter.h"

#include <QFileInfo>

namespace HotkeyRouter {

Route route(const std::optional<AppEntry>& entry, const std::function<bool(const QString&)>& isRunning) {
    if (!entry) return Ignore{};
    if (!entry->bundleId.isEmpty() && isRunning(entry->bundleId))
        return PresentThenLaunch{AppTarget{entry->name, entry->bundleId}, *entry};
    if (!entry->path.isEmpty() && QFileInfo::exists(entry->path)) return Launch{*entry};
    return ReportMissing{*entry};
}

} // namespace HotkeyRouter
