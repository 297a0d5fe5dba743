// Kestavon: hold the right Super key and press a bound key to bring its application forward.
#include "App/CommandLineRun.h"
#include "App/KestavonApp.h"
#include "App/SingleInstance.h"
#include "App/LinuxPlatformChoice.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/KeyBindingStore.h"
#include "Platform/KeyboardTapPort.h"
#include "Platform/Wayland/SwayPlatform.h"
#include "Support/BuildConfig.h"

#include <QApplication>

#include <cstdio>

namespace {

// "kestavon --setup-sway": the same set-up as the window's button, for the keys bound now.
int setUpSway(int& argc, char** argv) {
    QCoreApplication core(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Kestavon"));
    QCoreApplication::setApplicationName(QStringLiteral("Kestavon"));
    QString whyNot;
    const std::unique_ptr<SwayPlatform> sway = SwayPlatform::create(&whyNot);
    if (!sway) {
        std::fprintf(stderr, "kestavon: %s Run this inside your sway session.\n", qUtf8Printable(whyNot));
        return 1;
    }
    Platform::install(sway.get());
    KeyBindingStore bindings;
    bindings.load();
    const SetUpResult result = sway->keyboardTap().setUp(bindings.boundKeyCodes());
    Platform::install(nullptr);
    std::fprintf(result.done ? stdout : stderr, "%s\n", qUtf8Printable(result.message));
    return result.done ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine::Request request = CommandLine::parse(arguments);
    if (request.action == CommandLine::Action::setupSway) return setUpSway(argc, argv);
    if (const std::optional<int> status = CommandLineRun::answerWithoutWindow(request, argc, argv)) return *status;

    // Say plainly why there is nothing to show, before the window system refuses to start.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "Kestavon: no display to run on (DISPLAY is not set).\n");
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestavon"));
    QApplication::setApplicationName(QStringLiteral("Kestavon"));
    QApplication::setApplicationVersion(QString::fromUtf8(BuildConfig::shortVersion));
    QApplication::setDesktopFileName(QStringLiteral("kestavon"));
    // The hotkeys stay on with the window closed; starting Kestavon again shows the window.
    QApplication::setQuitOnLastWindowClosed(false);

    const std::unique_ptr<SingleInstance> instance = SingleInstance::claim(SingleInstance::socketPath());
    if (!instance) {
        std::fprintf(stderr, "Kestavon is already running: its window comes to the front.\n");
        return 0;
    }

    QString whyNot;
    std::unique_ptr<Platform> platform = LinuxPlatformChoice::create(&whyNot);
    if (!platform) {
        std::fprintf(stderr, "Kestavon: %s\n", qUtf8Printable(whyNot));
        return 1;
    }
    Platform::install(platform.get());

    const int status = [&instance, &request] {
        KestavonApp app;
        if (request.background)
            app.startInBackground();
        else
            app.showWindow();
        app.showTrayIcon();
        QObject::connect(instance.get(), &SingleInstance::showRequested,
                         [&app] { app.bringWindowForward(); });
        QObject::connect(instance.get(), &SingleInstance::quitRequested, &QApplication::quit);
        instance->setJumpHandler([](const QString& keyID) { return HotkeyMonitor::shared().jump(keyID); });
        return QApplication::exec();
    }();
    Platform::install(nullptr);
    return status;
}
