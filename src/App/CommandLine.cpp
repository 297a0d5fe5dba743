#include "App/CommandLine.h"

#include "Platform/KeyStrokeMap.h"

namespace CommandLine {
namespace {

Request invalid(const QString& why) {
    Request request;
    request.action = Action::invalid;
    request.error = why;
    return request;
}

} // namespace

Request parse(const QStringList& arguments) {
    Request request;
    bool actionGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
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
        } else if (argument == QLatin1String("--jump")) {
            action = Action::jump;
            if (i + 1 == arguments.size()) return invalid(QStringLiteral("--jump needs a key, such as 1-q"));
            request.key = arguments[++i];
            if (!KeyStrokeMap::rankByKeyID().contains(request.key))
                return invalid(
                    QStringLiteral("\"%1\" is not one of Kestavon's keys: a key is its row (0 to 3, "
                                   "from the digits down) and its character, such as 0-1, 1-q, 2-a or 3-z")
                        .arg(request.key));
        } else if (argument == QLatin1String("--setup-sway")) {
            action = Action::setupSway;
        } else {
            return invalid(argument.startsWith(QLatin1Char('-'))
                               ? QStringLiteral("unknown option \"%1\"").arg(argument)
                               : QStringLiteral("unexpected argument \"%1\"").arg(argument));
        }
        // Help wins over anything else asked for alongside it; two different requests are a mistake.
        if (action == Action::help || request.action == Action::help) {
            request.action = Action::help;
        } else if (actionGiven && request.action != action) {
            return invalid(
                QStringLiteral("\"%1\" cannot be combined with the options before it").arg(argument));
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
        "Usage: kestavon [--background | --quit | --jump KEY | --setup-sway | --help | --version]\n"
        "\n"
        "Hold the right Super key and press a bound key to bring its application to the front.\n"
        "Starting Kestavon while it runs shows its window.\n"
        "\n"
        "  --background  start with the window hidden (as at login); the hotkeys are on\n"
        "  --quit        end the running Kestavon\n"
        "  --jump KEY    in the running Kestavon, do what right Super + KEY does; KEY is the\n"
        "                key's row (0 to 3, from the digits down) and character: 1-q, 0-1, 2-a;\n"
        "                exit status 1 when Kestavon is not running, 3 when nothing is bound\n"
        "                to the key\n"
        "  --setup-sway  write Kestavon's key set-up for sway and show the line to add to\n"
        "                sway's configuration\n"
        "  --help, -h    show this help and exit\n"
        "  --version     show the version and exit\n");
}

} // namespace CommandLine
