// Kestavon: hold the right Super key and press a bound key to bring its application forward.
#include "App/KestavonApp.h"
#include "App/SingleInstance.h"
#include "Platform/X11/X11Platform.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    // "kestavon --quit" ends the running Kestavon (its menu entry's Quit action runs it).
    if (argc == 2 && std::strcmp(argv[1], "--quit") == 0) {
        QCoreApplication core(argc, argv);
        if (SingleInstance::ask(SingleInstance::socketPath(), SingleInstance::Request::quit)) return 0;
        std::fprintf(stderr, "Kestavon is not running.\n");
        return 1;
    }

    // Say plainly why there is nothing to show, before the window system refuses to start.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "Kestavon: no display to run on (DISPLAY is not set).\n");
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestavon"));
    QApplication::setApplicationName(QStringLiteral("Kestavon"));
    QApplication::setDesktopFileName(QStringLiteral("kestavon"));
    // The hotkeys stay on with the window closed; starting Kestavon again shows the window.
    QApplication::setQuitOnLastWindowClosed(false);

    const std::unique_ptr<SingleInstance> instance = SingleInstance::claim(SingleInstance::socketPath());
    if (!instance) {
        std::fprintf(stderr, "Kestavon is already running: its window comes to the front.\n");
        return 0;
    }

    QString whyNot;
    std::unique_ptr<X11Platform> platform = X11Platform::create(&whyNot);
    if (!platform) {
        std::fprintf(stderr, "Kestavon: %s\n", qUtf8Printable(whyNot));
        return 1;
    }
    Platform::install(platform.get());

    const int status = [&instance] {
        KestavonApp app;
        app.showWindow();
        QObject::connect(instance.get(), &SingleInstance::showRequested,
                         [&app] { app.bringWindowForward(); });
        QObject::connect(instance.get(), &SingleInstance::quitRequested, &QApplication::quit);
        return QApplication::exec();
    }();
    Platform::install(nullptr);
    return status;
}
