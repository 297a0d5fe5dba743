// Kestavon: hold the right Super key and press a bound key to bring its application forward.
#include "App/KestavonApp.h"
#include "Platform/X11/X11Platform.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QString whyNot;
    std::unique_ptr<X11Platform> platform = X11Platform::create(&whyNot);
    if (!platform) {
        std::fprintf(stderr, "Kestavon: %s\n", qUtf8Printable(whyNot));
        return 1;
    }
    Platform::install(platform.get());

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestavon"));
    QApplication::setApplicationName(QStringLiteral("Kestavon"));
    QApplication::setDesktopFileName(QStringLiteral("kestavon"));

    KestavonApp app;
    app.showWindow();
    const int status = QApplication::exec();
    Platform::install(nullptr);
    return status;
}
