#include "AppGroup.h"

#include <algorithm>

AppGroup::GroupKey AppGroup::GroupKey::of(const WindowRecord& window) {
    // An empty identifier is still an identifier.
    if (window.bundleID) return {Kind::bundle, *window.bundleID};
    return {Kind::name, window.appName};
}

namespace {

void addDistinct(std::vector<QString>& list, const std::optional<QString>& value) {
    if (value && std::find(list.begin(), list.end(), *value) == list.end()) list.push_back(*value);
}

} // namespace

std::vector<AppGroup> AppGroup::group(const std::vector<WindowRecord>& windows) {
    QHash<GroupKey, std::size_t> indexByKey;
    std::vector<std::vector<WindowRecord>> lists;
    for (const WindowRecord& window : windows) {
        const GroupKey key = GroupKey::of(window);
        auto found = indexByKey.constFind(key);
        if (found == indexByKey.constEnd()) {
            found = indexByKey.insert(key, lists.size());
            lists.emplace_back();
        }
        lists[*found].push_back(window);
    }

    std::vector<AppGroup> groups;
    groups.reserve(lists.size());
    for (auto& list : lists) {
        AppGroup group;
        group.appName = list.front().appName;
        group.bundleID = list.front().bundleID;
        for (const WindowRecord& window : list) {
            group.pids.push_back(window.pid);
            addDistinct(group.displayNames, window.displayName);
            addDistinct(group.spaceLabels, window.spaceLabel);
        }
        std::sort(group.pids.begin(), group.pids.end());
        group.pids.erase(std::unique(group.pids.begin(), group.pids.end()), group.pids.end());
        group.windowCount = static_cast<std::int64_t>(list.size());
        group.windows = std::move(list);
        groups.push_back(std::move(group));
    }
    return groups;
}
