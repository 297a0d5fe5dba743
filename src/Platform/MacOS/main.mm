// Kestavon: hold the right Command key and press a bound key to bring its application forward.
#include "App/KestavonApp.h"
#include "Platform/MacOS/MacPlatform.h"
#include "Platform/MacOS/MacStartup.h"

#include <QApplication>
#include <QGuiApplication>

int main(int argc, char** argv) {
    MacStartup::preferEnglish();

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestavon"));
    // QSettings then writes the bundle's own defaults domain, com.kestavon.Kestavon, where the
    // system and the update framework read "AppleLanguages" and "SUFeedURL".
    QApplication::setOrganizationDomain(QStringLiteral("kestavon.com"));
    QApplication::setApplicationName(QStringLiteral("Kestavon"));
    // The hotkeys work with the window closed; clicking the Dock icon shows it again.
    QApplication::setQuitOnLastWindowClosed(false);

    MacPlatform platform;
    Platform::install(&platform);
    const int status = [] {
        KestavonApp app;
        app.showWindow();
        // Qt reports a click on the Dock icon as the application becoming active while it already
        // is; becoming active from inactive (as during a jump, when Kestavon activates itself to
        // hand the front on) shows nothing.
        Qt::ApplicationState last = QGuiApplication::applicationState();
        QObject::connect(qApp, &QGuiApplication::applicationStateChanged, [&app, &last](Qt::ApplicationState state) {
            const bool reopened = state == Qt::ApplicationActive && last == Qt::ApplicationActive;
            last = state;
            if (reopened) app.bringWindowForward();
        });
        return QApplication::exec();
    }();
    Platform::install(nullptr);
    return status;
}
