#include "SkyLightAPI.h"

#include "Platform/MacOS/MacSystem.h"
#include "Platform/MacOS/PlistNumber.h"
#include "Platform/MacOS/SkyLightLibrary.h"

#include <array>

namespace {

constexpr std::array requiredSymbols{"_CGSDefaultConnection", "CGSCopyManagedDisplaySpaces",
                                     "SLSCopySpacesForWindows"};

} // namespace

std::optional<SkyLightAPI> SkyLightAPI::load(MacSystem& system) {
    std::shared_ptr<SkyLightLibrary> library =
        system.openFramework(QString::fromLatin1(frameworkPath), loaderMode);
    if (!library) return std::nullopt;
    for (const char* symbol : requiredSymbols) {
        if (!library->hasSymbol(symbol)) {
            library->close();
            return std::nullopt;
        }
    }
    // Kept when present; nothing we do calls them, so their absence is no failure.
    const bool getActiveSpace = library->hasSymbol("CGSGetActiveSpace");
    const bool setManagedDisplaySpace = library->hasSymbol("CGSManagedDisplaySetCurrentSpace");
    // A loaded instance keeps the framework open for the rest of the process.
    return SkyLightAPI(std::move(library), getActiveSpace, setManagedDisplaySpace);
}

std::int32_t SkyLightAPI::defaultConnection() const {
    return library_->defaultConnection();
}

std::optional<QList<QVariantMap>> SkyLightAPI::managedDisplaySpaces() const {
    const std::optional<QVariantList> answer = library_->copyManagedDisplaySpaces(defaultConnection());
    if (!answer) return std::nullopt;
    QList<QVariantMap> displays;
    displays.reserve(answer->size());
    for (const QVariant& element : *answer)
        if (element.typeId() == QMetaType::QVariantMap) displays.append(element.toMap());
    return displays;
}

std::optional<std::vector<std::uint64_t>>
SkyLightAPI::spaceIDs(const std::vector<std::uint32_t>& windows) const {
    if (windows.empty()) return std::vector<std::uint64_t>{};
    QVariantList numbers;
    numbers.reserve(static_cast<qsizetype>(windows.size()));
    for (const std::uint32_t window : windows)
        numbers.append(QVariant::fromValue(window));
    const std::optional<QVariantList> answer =
        library_->copySpacesForWindows(defaultConnection(), spaceSelectorMask, numbers);
    if (!answer) return std::nullopt;
    std::vector<std::uint64_t> ids;
    ids.reserve(static_cast<std::size_t>(answer->size()));
    for (const QVariant& element : *answer)
        if (const auto id = PlistNumber::integerValue<std::uint64_t>(element)) ids.push_back(*id);
    return ids;
}
