#pragma once

#include <QString>

/// The version strings of this copy of Kestavon, as the build recorded them. Each is worked out
/// once and kept for the life of the process.
namespace AppVersion {

/// The version shown to people, or "?" when the build recorded none.
const QString& shortVersion();
/// The build number, or "?" when the build recorded none.
const QString& build();

} // namespace AppVersion
