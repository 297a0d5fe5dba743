#pragma once

#include <QString>

/// Orders version texts the way release numbering is meant: "1.10" is after "1.9", "1.0" and
/// "1.0.0" are the same, "1.0b2" is before "1.0". Any text is accepted; what is not a digit or
/// a letter only separates parts.
namespace VersionComparator {

/// Negative when `a` is older than `b`, zero when they are the same version, positive when newer.
int compare(const QString& a, const QString& b);

} // namespace VersionComparator
