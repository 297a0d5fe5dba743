#pragma once

#include <QString>

/// Names the calling thread for debuggers and crash reports.
namespace ThreadName {

/// Linux keeps at most 15 bytes of a name; macOS keeps 63 and can name only the calling
/// thread, which is all this offers.
void setCurrent(const QString& name);

} // namespace ThreadName
