#include "App/CommandLine.h"

namespace CommandLine {

Request parse(const QStringList& arguments) {
    Request request;
    bool actionGiven = false;
    for (const QString& argument : arguments) {
        Action action = Action::run;
        if (argument == QLatin1String("--background")) {
            request.background = true;
            continue;
        }
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            action = Action::help;
        } else if (argument == QLatin1String("--version")) {
            action = Action::version;
        } else if (argument == QLatin1String("--quit")) {
            action = Action::quit;
        } else if (argument == QLatin1String("--setup-sway")) {
            action = Action::setupSway;
        } else {
            return {Action::invalid, false,
                    argument.startsWith(QLatin1Char('-'))
                        ? QStringLiteral("unknown option \"%1\"").arg(argument)
                        : QStringLiteral("unexpected argument \"%1\"").arg(argument)};
        }
        // Help wins over anything else asked for alongside it; two different requests are a mistake.
        if (action == Action::help || request.action == Action::help) {
            request.action = Action::help;
        } else if (actionGiven && request.action != action) {
            return {Action::invalid, false,
                    QStringLiteral("\"%1\" cannot be combined with the options before it").arg(argument)};
        } else {
            request.action = action;
        }
        actionGiven = true;
    }
    if (request.action != Action::run) request.background = false;
    return request;
}

QString usage() {
    return QStringLiteral(
        "Usage: kestavon [--background | --quit | --setup-sway | --help | --version]\n"
        "\n"
        "Hold the right Super key and press a bound key to bring its application to the front.\n"
        "Starting Kestavon while it runs shows its window.\n"
        "\n"
        "  --background  start with the window hidden (as at login); the hotkeys are on\n"
        "  --quit        end the running Kestavon\n"
        "  --setup-sway  write Kestavon's key set-up for sway and show the line to add to sway's configuration\n"
        "  --help, -h    show this help and exit\n"
        "  --version     show the version and exit\n");
}

} // namespace CommandLine
