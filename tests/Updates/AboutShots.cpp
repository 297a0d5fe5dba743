// Renders the About tab in each update state to PNG files, for looking at the layout:
//   about_shots [folder]   (default /tmp/kestavon-shots; uses the offscreen platform)
#include "Platform/Fake/FakePlatform.h"
#include "Updates/AboutView.h"
#include "Updates/SparkleUpdateController.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

#ifdef KESTAVON_LINUX_UPDATER
#include "Updates/UpdateAlertView.h"
#endif

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/kestavon-shots");
    QDir().mkpath(folder);

    ScopedFakePlatform fake;
    FakeUpdater& updater = fake->fakeUpdater;
    SparkleUpdateController controller;
    controller.start();
    AboutView view(controller);
    view.resize(1024, 560);
    view.show();

    int failures = 0;
    const auto shoot = [&](const char* name) {
        QApplication::processEvents();
        const QString path = folder + QStringLiteral("/about-%1.png").arg(QLatin1String(name));
        if (!view.grab().save(path)) ++failures;
        std::printf("%s\n", qPrintable(path));
    };

    shoot("idle");
    controller.checkForUpdates();
    shoot("checking");
    updater.willDownloadUpdate();
    shoot("downloading");
    updater.didDownloadUpdate();
    controller.checkForUpdates();
    updater.didNotFindUpdate();
    shoot("up-to-date");
    updater.failedToDownloadUpdate(QStringLiteral(
        "The update feed could not be loaded: the server answered HTTP 404 (Not Found). A longer message "
        "wraps onto a second line and stays centred under the buttons."));
    shoot("failed");
    view.resize(640, 420);
    shoot("failed-narrow");

#ifdef KESTAVON_LINUX_UPDATER
    // The appcast updater's own windows, over the tab.
    const auto shootBox = [&](const char* name) {
        QApplication::processEvents();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || !box->isVisible()) continue;
            const QString path = folder + QStringLiteral("/alert-%1.png").arg(QLatin1String(name));
            if (!box->grab().save(path)) ++failures;
            std::printf("%s\n", qPrintable(path));
            box->reject();
        }
    };
    UpdateAlertView alerts(&view);
    AppcastItem release;
    release.version = QStringLiteral("2");
    release.displayVersion = QStringLiteral("0.2.0");
    alerts.showUpdateFound(release, [](UpdateUserDriver::Choice) {});
    shootBox("offer");
    alerts.showUpdaterError(QStringLiteral("The update feed could not be loaded: Connection refused"));
    shootBox("error");
#endif
    return failures == 0 ? 0 : 1;
}
