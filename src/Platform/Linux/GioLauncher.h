#pragma once

#include "DesktopEntry.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

/// Starting programs the way the desktop does, through GIO: Exec field codes, quoting and
/// Terminal=true are GIO's, and no shell ever sees the command line.
namespace GioLauncher {

struct Launched {
    /// The started process; 0 when GIO handed the start to D-Bus activation (no process of ours).
    std::int32_t pid = 0;
    /// GIO's reason when nothing was started.
    std::optional<QString> error;
};

/// Starts the application of a desktop entry, with no files, in the user's home folder unless
/// the entry names its own (Path). The process is a child of this one and is reaped when it
/// ends; `ended`, when given, then receives its wait status on a thread of its own (possibly
/// before this returns). `environment` holds variables set for the program only (name, value).
Launched launch(const DesktopEntry& entry, std::function<void(int status)> ended = {},
                const std::vector<std::pair<QByteArray, QByteArray>>& environment = {});
/// Opens `url` with the user's default handler for it; false with nothing started.
bool openURL(const QString& url);

} // namespace GioLauncher
