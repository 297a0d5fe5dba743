// Kestavon: hold the right Super key and press a bound key to bring its application forward.
#include "App/KestavonApp.h"
#include "Platform/X11/X11Platform.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Say plainly why there is nothing to show, before the window system refuses to start.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "Kestavon: no display to run on (DISPLAY is not set).\n");
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestavon"));
    QApplication::setApplicationName(QStringLiteral("Kestavon"));
    QApplication::setDesktopFileName(QStringLiteral("kestavon"));

    QString whyNot;
    std::unique_ptr<X11Platform> platform = X11Platform::create(&whyNot);
    if (!platform) {
        std::fprintf(stderr, "Kestavon: %s\n", qUtf8Printable(whyNot));
        return 1;
    }
    Platform::install(platform.get());

    const int status = [] {
        KestavonApp app;
        app.showWindow();
        return QApplication::exec();
    }();
    Platform::install(nullptr);
    return status;
}
