#pragma once

#include <QString>

#include <array>

/// The tabs of the main window, in the order of the tab bar.
enum class ConfigTab { keys, stats, about };

/// What a tab's button shows.
struct ConfigTabInfo {
    ConfigTab tab;
    QString rawValue;
    QString title;
    /// A symbol name as SymbolIcon knows it.
    QString symbol;
};

/// Every tab, in tab-bar order.
inline const std::array<ConfigTabInfo, 3>& allConfigTabs() {
    static const std::array<ConfigTabInfo, 3> tabs{{
        {ConfigTab::keys, QStringLiteral("keys"), QStringLiteral("Keys"), QStringLiteral("keyboard")},
        {ConfigTab::stats, QStringLiteral("stats"), QStringLiteral("Stats"), QStringLiteral("chart.bar")},
        {ConfigTab::about, QStringLiteral("about"), QStringLiteral("About"), QStringLiteral("info.circle")},
    }};
    return tabs;
}
