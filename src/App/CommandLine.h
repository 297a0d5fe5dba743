#pragma once

#include <QString>
#include <QStringList>

/// What `kestavon` was asked to do by its arguments.
namespace CommandLine {

enum class Action {
    run,     ///< start Kestavon (or show the window of the one running)
    quit,    ///< end the running Kestavon
    setupSway, ///< write the key set-up for sway and print the line the user adds
    help,    ///< print the usage and stop
    version, ///< print the version and stop
    jump,    ///< run the stroke of one key in the running Kestavon
    invalid, ///< an argument Kestavon does not know: print why and the usage, exit status 2
};

struct Request {
    Action action = Action::run;
    /// Start with the window hidden (at login): only the hotkeys and the tray icon.
    bool background = false;
    /// Why the arguments are invalid.
    QString error;
    /// The key identifier of --jump ("1-q"), one of the 47.
    QString key;
};

/// The arguments after the program name.
Request parse(const QStringList& arguments);

/// The usage text, ending in a line break.
QString usage();

/// The exit status of an invalid command line, as command-line programs use it; also that of
/// --jump with a key that is not one of the 47.
inline constexpr int usageErrorStatus = 2;
/// The exit status of --quit or --jump when no Kestavon runs.
inline constexpr int notRunningStatus = 1;
/// The exit status of --jump when nothing is bound to the key.
inline constexpr int unboundStatus = 3;

} // namespace CommandLine
