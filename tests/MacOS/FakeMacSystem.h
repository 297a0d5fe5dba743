#pragma once

#include "Platform/MacOS/MacSystem.h"
#include "Platform/MacOS/SkyLightLibrary.h"

#include <QSizeF>
#include <QStringList>

#include <map>

/// The system calls of the macOS path over scripted state, recording what was asked: a window
/// list, displays with their Spaces, the private framework, Accessibility windows, the pointer.
/// A dock swipe that ends moves the current Space of the display under the pointer one along.
class FakeMacSystem final : public MacSystem, public SkyLightLibrary {
public:
    struct Display {
        std::uint32_t id = 0;
        std::optional<QString> uuid;
        QRectF bounds;
        bool isMain = false;
        std::vector<std::pair<std::uint64_t, int>> spaces; // id and "type", in order
        std::uint64_t current = 0;
    };
    struct AXWindow {
        QRectF frame;
        bool minimized = false;
    };

    std::optional<QVariantList> windowList;
    std::vector<std::uint32_t> windowListOptions;
    std::vector<Display> displays;
    bool displayListFails = false;
    QList<MacScreen> screenList;
    bool frameworkPresent = true;
    QStringList missingSymbols;
    std::vector<std::pair<QString, int>> opens;
    int closes = 0;
    /// Served instead of the list made from `displays` when set (holding nothing: a null answer).
    std::optional<std::optional<QVariantList>> managedDisplaysOverride;
    std::map<std::uint32_t, QVariantList> spacesOfWindow;
    std::vector<std::pair<std::uint32_t, QVariantList>> spacesRequests;
    bool trusted = true;
    int prompts = 0;
    std::map<std::int32_t, std::vector<AXWindow>> axWindows;
    std::map<std::int32_t, std::size_t> focusedWindow, mainWindow; // indexes into axWindows
    /// Answers for an attribute whatever the element, as a misbehaving application gives them.
    std::map<QString, QVariant> oddAnswers;
    int minimizeWrites = 0;
    bool writesRefused = false;
    std::vector<SyntheticEvent> posted;
    bool gesturesIgnored = false;
    std::optional<QPointF> pointer = QPointF(5, 5);
    std::vector<QPointF> warps;

    std::optional<QVariantList> copyWindowInfo(std::uint32_t options, std::uint32_t) override {
        return windowListOptions.push_back(options), windowList;
    }
    std::optional<std::vector<std::uint32_t>> activeDisplayList() override {
        std::vector<std::uint32_t> ids;
        for (const Display& d : displays)
            ids.push_back(d.id);
        return displayListFails ? std::nullopt : std::optional(ids);
    }
    QRectF displayBounds(std::uint32_t id) override { return display(id).bounds; }
    bool displayIsMain(std::uint32_t id) override { return display(id).isMain; }
    std::optional<QString> displayUUIDString(std::uint32_t id) override { return display(id).uuid; }
    QList<MacScreen> screens() override { return screenList; }

    std::shared_ptr<SkyLightLibrary> openFramework(const QString& path, int mode) override {
        opens.emplace_back(path, mode);
        return frameworkPresent ? std::shared_ptr<SkyLightLibrary>(std::shared_ptr<void>(), this) : nullptr;
    }
    bool hasSymbol(const char* name) override { return !missingSymbols.contains(QLatin1String(name)); }
    void close() override { ++closes; }
    std::int32_t defaultConnection() override { return 1; }
    std::optional<QVariantList> copyManagedDisplaySpaces(std::int32_t) override {
        if (managedDisplaysOverride) return *managedDisplaysOverride;
        QVariantList list;
        for (const Display& d : displays) {
            QVariantList spaces;
            for (const auto& [id, type] : d.spaces)
                spaces.append(QVariantMap{{"id64", QVariant::fromValue(id)}, {"type", type}});
            list.append(QVariantMap{{"Display Identifier", d.uuid.value_or(QString())},
                                    {"Current Space", QVariantMap{{"id64", QVariant::fromValue(d.current)}}},
                                    {"Spaces", spaces}});
        }
        return list;
    }
    std::optional<QVariantList> copySpacesForWindows(std::int32_t, std::uint32_t mask,
                                                     const QVariantList& windows) override {
        spacesRequests.emplace_back(mask, windows);
        return spacesOfWindow[windows.value(0).toUInt()];
    }

    bool isProcessTrusted() override { return trusted; }
    bool isProcessTrustedWithPrompt() override { return ++prompts, trusted; }
    AXElement applicationElement(std::int32_t pid) override { return {pid, 0}; }
    std::optional<QVariant> copyAttributeValue(const AXElement& element, const QString& attribute) override {
        if (!trusted) return std::nullopt;
        if (oddAnswers.contains(attribute)) return oddAnswers[attribute];
        const auto windowAt = [&](std::size_t i) {
            return QVariant::fromValue(AXElement{element.pid, i + 1});
        };
        const std::vector<AXWindow>& windows = axWindows[element.pid];
        if (element.window == 0 && attribute == "AXWindows") {
            QVariantList list;
            for (std::size_t i = 0; i < windows.size(); ++i)
                list.append(windowAt(i));
            return list;
        }
        const auto& chosen = attribute == "AXFocusedWindow" ? focusedWindow : mainWindow;
        if (element.window == 0)
            return chosen.contains(element.pid) ? std::optional(windowAt(chosen.at(element.pid)))
                                                : std::nullopt;
        const AXWindow& w = windows.at(element.window - 1);
        const std::map<QString, QVariant> values{
            {"AXPosition", w.frame.topLeft()}, {"AXSize", w.frame.size()}, {"AXMinimized", w.minimized}};
        return values.contains(attribute) ? std::optional(values.at(attribute)) : std::nullopt;
    }
    bool setAttributeValue(const AXElement& element, const QString& attribute,
                           const QVariant& value) override {
        ++minimizeWrites;
        if (writesRefused || attribute != "AXMinimized" || element.window == 0) return false;
        return axWindows[element.pid].at(element.window - 1).minimized = value.toBool(), true;
    }

    bool postEvent(const SyntheticEvent& event) override {
        posted.push_back(event);
        if (gesturesIgnored || field(event, 132) != QVariant(4)) return true;
        const int step = field(event, 124).toDouble() > 0 ? 1 : -1;
        for (Display& d : displays)
            for (std::size_t i = 0; pointer && d.bounds.contains(*pointer) && i < d.spaces.size(); ++i)
                if (d.spaces[i].first == d.current && i + step < d.spaces.size()) {
                    d.current = d.spaces[i + step].first;
                    break;
                }
        return true;
    }
    void warpPointer(QPointF location) override { warps.push_back(location), pointer = location; }
    std::optional<QPointF> pointerLocation() override { return pointer; }

    /// The value of the event's field as set; nothing when it is not.
    static QVariant field(const SyntheticEvent& event, int number) {
        for (const auto& f : event.fields)
            if (f.number == number) return std::visit([](auto v) { return QVariant::fromValue(v); }, f.value);
        return {};
    }

private:
    Display& display(std::uint32_t id) {
        return *std::find_if(displays.begin(), displays.end(), [id](const Display& d) { return d.id == id; });
    }
};
