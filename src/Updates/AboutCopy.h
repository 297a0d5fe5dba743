#pragma once

#include "Updates/UpdateCheckState.h"

#include <QString>

/// The words of the About tab's status line.
namespace AboutCopy {

/// The status line for `state`.
QString status(const UpdateCheckState& state);

/// The status line of a build that leaves updates to the package manager.
QString packageManagerNote();

/// A download fraction as a whole percentage: 0 for nothing (or less, or not a number), 100 for
/// more than everything, otherwise rounded to the nearest, halves away from zero.
int percent(double fraction);

} // namespace AboutCopy
