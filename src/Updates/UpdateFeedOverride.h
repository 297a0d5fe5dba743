#pragma once

#include <QString>

#include <optional>

class QSettings;

/// The user's own update feed address, which replaces the built-in one.
namespace UpdateFeedOverride {

/// The settings key; the same name the updater uses for its built-in feed address.
inline constexpr const char* key = "SUFeedURL";

/// The text stored under "SUFeedURL" in `defaults`, trimmed at both ends; nothing when it is
/// absent, not text, or blank. The text is not checked as an address.
std::optional<QString> urlString(const QSettings& defaults);

} // namespace UpdateFeedOverride
