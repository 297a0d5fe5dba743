// Kestavon: hold the right Command key and press a bound key to bring its application forward.
#include "App/CommandLineRun.h"
#include "App/KestavonApp.h"
#include "App/SingleInstance.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Platform/MacOS/MacPlatform.h"
#include "Platform/MacOS/MacStartup.h"

#include <QApplication>
#include <QGuiApplication>

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments.append(QString::fromUtf8(argv[i]));
    const CommandLine::Request request = CommandLine::parse(arguments);
    // Launched from the Finder or the Dock, the system may pass arguments of its own: only an
    // explicit request of Kestavon's is answered here.
    if (request.action != CommandLine::Action::invalid)
        if (const std::optional<int> status = CommandLineRun::answerWithoutWindow(request, argc, argv))
            return *status;

    MacStartup::preferEnglish();

    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestavon"));
    // QSettings then writes the bundle's own defaults domain, com.kestavon.Kestavon, where the
    // system and the update framework read "AppleLanguages" and "SUFeedURL".
    QApplication::setOrganizationDomain(QStringLiteral("kestavon.com"));
    QApplication::setApplicationName(QStringLiteral("Kestavon"));
    // The hotkeys work with the window closed; clicking the Dock icon shows it again.
    QApplication::setQuitOnLastWindowClosed(false);

    // The system keeps the app to one copy when it is opened from the Finder; the socket also
    // answers "kestavon --quit" and "--jump" and a copy started from a terminal.
    const std::unique_ptr<SingleInstance> instance = SingleInstance::claim(SingleInstance::socketPath());
    if (!instance) return 0;

    MacPlatform platform;
    Platform::install(&platform);
    const int status = [&instance] {
        KestavonApp app;
        app.showWindow();
        QObject::connect(instance.get(), &SingleInstance::showRequested, [&app] { app.bringWindowForward(); });
        QObject::connect(instance.get(), &SingleInstance::quitRequested, &QApplication::quit);
        instance->setJumpHandler([](const QString& keyID) { return HotkeyMonitor::shared().jump(keyID); });
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
