#include "FakeWindowServer.h"

#include "FakeDesktop.h"

namespace {

class FakeSkyLight final : public SkyLightLibrary {
public:
    FakeSkyLight(FakeDesktop& desktop, const FakeWindowServer& server) : desktop_(desktop), server_(server) {}

    bool hasSymbol(const char* name) override {
        std::lock_guard lock(desktop_.mutex);
        return !desktop_.skyLightMissingSymbols.contains(QString::fromLatin1(name));
    }
    void close() override {
        std::lock_guard lock(desktop_.mutex);
        ++desktop_.skyLightCloses;
    }
    std::int32_t defaultConnection() override { return 42; }
    std::optional<QVariantList> copyManagedDisplaySpaces(std::int32_t) override {
        std::lock_guard lock(desktop_.mutex);
        if (desktop_.managedDisplaySpacesReturnsNull) return std::nullopt;
        if (desktop_.managedDisplaySpacesOverride) return desktop_.managedDisplaySpacesOverride;
        return server_.managedDisplaySpaces();
    }
    std::optional<QVariantList> copySpacesForWindows(std::int32_t, std::uint32_t selectorMask,
                                                     const QVariantList& windowNumbers) override {
        std::lock_guard lock(desktop_.mutex);
        ++desktop_.spacesForWindowsCalls;
        desktop_.spacesForWindowsRequests.emplace_back(selectorMask, windowNumbers);
        if (desktop_.spacesForWindowsReturnsNull) return std::nullopt;
        QVariantList spaces;
        for (const QVariant& number : windowNumbers) {
            const auto id = number.value<std::uint32_t>();
            if (const auto found = desktop_.spacesForWindowOverride.find(id);
                found != desktop_.spacesForWindowOverride.end()) {
                spaces += found->second;
                continue;
            }
            if (const auto* w = desktop_.window(id); w && w->space != 0) spaces.append(QVariant::fromValue(w->space));
        }
        return spaces;
    }

private:
    FakeDesktop& desktop_;
    const FakeWindowServer& server_;
};

QVariantMap boundsDictionary(const QRectF& r) {
    return {{WindowListKey::boundsX, r.x()},
            {WindowListKey::boundsY, r.y()},
            {WindowListKey::boundsWidth, r.width()},
            {WindowListKey::boundsHeight, r.height()}};
}

} // namespace

std::optional<QVariantList> FakeWindowServer::copyWindowInfo(std::uint32_t options, std::uint32_t) {
    std::lock_guard lock(desktop_.mutex);
    desktop_.windowListRequests.push_back(options);
    if (desktop_.windowListFails) return std::nullopt;
    if (desktop_.windowListOverride) return desktop_.windowListOverride;
    QVariantList list;
    for (const auto& w : desktop_.windows) {
        QVariantMap entry{{WindowListKey::number, QVariant::fromValue(w.id)},
                          {WindowListKey::ownerPID, QVariant::fromValue(w.pid)},
                          {WindowListKey::bounds, boundsDictionary(w.frame)},
                          {WindowListKey::layer, w.layer},
                          {WindowListKey::alpha, w.alpha},
                          {WindowListKey::isOnscreen, desktop_.isOnscreen(w)}};
        if (w.ownerName) entry.insert(WindowListKey::ownerName, *w.ownerName);
        if (w.title) entry.insert(WindowListKey::name, *w.title);
        list.append(entry);
    }
    return list;
}

std::optional<std::vector<std::uint32_t>> FakeWindowServer::activeDisplayList() {
    std::lock_guard lock(desktop_.mutex);
    if (desktop_.displayListFails) return std::nullopt;
    std::vector<std::uint32_t> ids;
    for (const auto& d : desktop_.displays) ids.push_back(d.id);
    return ids;
}

QRectF FakeWindowServer::displayBounds(std::uint32_t display) {
    std::lock_guard lock(desktop_.mutex);
    for (const auto& d : desktop_.displays)
        if (d.id == display) return d.bounds;
    return {};
}

bool FakeWindowServer::displayIsMain(std::uint32_t display) {
    std::lock_guard lock(desktop_.mutex);
    for (const auto& d : desktop_.displays)
        if (d.id == display) return d.isMain;
    return false;
}

std::optional<QString> FakeWindowServer::displayUUIDString(std::uint32_t display) {
    std::lock_guard lock(desktop_.mutex);
    for (const auto& d : desktop_.displays)
        if (d.id == display && !d.uuid.isEmpty()) return d.uuid;
    return std::nullopt;
}

QList<Screen> FakeWindowServer::screens() {
    std::lock_guard lock(desktop_.mutex);
    QList<Screen> result;
    for (const auto& d : desktop_.displays)
        if (d.screenName) result.append(Screen{{{QStringLiteral("NSScreenNumber"), QVariant::fromValue(d.id)}}, *d.screenName});
    return result;
}

std::shared_ptr<SkyLightLibrary> FakeWindowServer::open(const QString& path, int mode) {
    std::lock_guard lock(desktop_.mutex);
    desktop_.skyLightOpenRequests.emplace_back(path, mode);
    if (!desktop_.skyLightPresent) return nullptr;
    ++desktop_.skyLightOpens;
    return std::make_shared<FakeSkyLight>(desktop_, *this);
}

QVariantList FakeWindowServer::managedDisplaySpaces() const {
    std::lock_guard lock(desktop_.mutex);
    QVariantList list;
    for (const auto& d : desktop_.displays) {
        QVariantList spaces;
        for (const auto& s : d.spaces)
            spaces.append(QVariantMap{{QStringLiteral("id64"), QVariant::fromValue(s.id)}, {QStringLiteral("type"), s.type}});
        list.append(QVariantMap{
            {QStringLiteral("Display Identifier"), d.uuid},
            {QStringLiteral("Current Space"), QVariantMap{{QStringLiteral("id64"), QVariant::fromValue(d.currentSpace)}}},
            {QStringLiteral("Spaces"), spaces}});
    }
    return list;
}
