#include "App/CommandLineRun.h"

#include "App/SingleInstance.h"
#include "Support/BuildConfig.h"

#include <QCoreApplication>

#include <cstdio>

namespace CommandLineRun {
namespace {

int jump(const QString& keyID) {
    switch (SingleInstance::jump(SingleInstance::socketPath(), keyID)) {
    case SingleInstance::JumpAnswer::ran:
        return 0;
    case SingleInstance::JumpAnswer::unbound:
        std::fprintf(stderr, "Nothing is bound to %s: bind an application to it on Kestavon's Keys tab.\n",
                     qUtf8Printable(keyID));
        return CommandLine::unboundStatus;
    case SingleInstance::JumpAnswer::noAnswer:
        std::fprintf(stderr, "Kestavon did not answer: it may be busy, or an older version. Try again.\n");
        return CommandLine::notRunningStatus;
    case SingleInstance::JumpAnswer::notRunning:
        break;
    }
    std::fprintf(stderr, "Kestavon is not running: start it first.\n");
    return CommandLine::notRunningStatus;
}

} // namespace

std::optional<int> answerWithoutWindow(const CommandLine::Request& request, int& argc, char** argv) {
    switch (request.action) {
    case CommandLine::Action::run:
        return std::nullopt;
    case CommandLine::Action::setupSway:
        // sway runs on Linux alone; its set-up is the Linux program's own.
        std::fprintf(stderr, "kestavon: --setup-sway is for sway sessions on Linux.\n");
        return CommandLine::usageErrorStatus;
    case CommandLine::Action::help:
        std::fputs(qUtf8Printable(CommandLine::usage()), stdout);
        return 0;
    case CommandLine::Action::version:
        std::printf("Kestavon %s (%s)\n", BuildConfig::shortVersion, BuildConfig::buildNumber);
        return 0;
    case CommandLine::Action::invalid:
        std::fprintf(stderr, "kestavon: %s\n\n%s", qUtf8Printable(request.error),
                     qUtf8Printable(CommandLine::usage()));
        return CommandLine::usageErrorStatus;
    case CommandLine::Action::quit: {
        // The menu entry's and the tray's Quit.
        QCoreApplication core(argc, argv);
        if (SingleInstance::ask(SingleInstance::socketPath(), SingleInstance::Request::quit)) return 0;
        std::fprintf(stderr, "Kestavon is not running.\n");
        return CommandLine::notRunningStatus;
    }
    case CommandLine::Action::jump: {
        // What a desktop's own shortcut settings run.
        QCoreApplication core(argc, argv);
        return jump(request.key);
    }
    }
    return CommandLine::usageErrorStatus;
}

} // namespace CommandLineRun
