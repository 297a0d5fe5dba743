#include "Platform/Linux/AppcastUpdater.h"

#include "LoopbackFeedServer.h"
#include "Platform/Fake/FakePlatform.h"
#include "Platform/Linux/UpdateUserDriver.h"
#include "UpdatePrinters.h"
#include "Updates/SparkleUpdateController.h"
#include "Updates/UpdateFeedOverride.h"
#include "support/TestSupport.h"

#include <QNetworkProxy>
#include <QSettings>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

QByteArray feed(const QByteArray& items) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">\n"
           "<channel><title>Kestavon</title>\n" +
           items + "</channel></rss>\n";
}

QByteArray enclosureItem(const QByteArray& version, const QByteArray& shortVersion) {
    return "<item><title>Kestavon " + shortVersion + "</title><link>https://kestavon.example/releases/" +
           shortVersion + "</link><enclosure url=\"https://kestavon.example/Kestavon-" + shortVersion +
           ".tar.gz\" sparkle:version=\"" + version + "\" sparkle:shortVersionString=\"" + shortVersion +
           "\" length=\"1000\" type=\"application/octet-stream\"/></item>\n";
}

// The stand-in for the framework's windows: records what it was shown and answers offers as told.
class RecordingDriver final : public UpdateUserDriver {
public:
    void showUpdateFound(const AppcastItem& item, Reply reply) override {
        offers.push_back(item);
        if (choice) reply(*choice);
    }
    void showUpdaterError(const QString& message) override { errors.push_back(message); }

    std::optional<Choice> choice;
    std::vector<AppcastItem> offers;
    std::vector<QString> errors;
};

class AppcastFeedCheck : public ::testing::Test {
protected:
    AppcastFeedCheck() {
        // Loopback only, whatever proxy the machine may name.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QSettings().remove(QLatin1String(UpdateFeedOverride::key));
        QObject::connect(&controller, &SparkleUpdateController::stateChanged,
                         [this] { states.push_back(controller.state()); });
    }
    ~AppcastFeedCheck() override { QSettings().remove(QLatin1String(UpdateFeedOverride::key)); }

    // Starts the updater for a running build `build`, with the default feed on the test server.
    void start(const QString& build, const QString& defaultFeed) {
        updater = std::make_unique<AppcastUpdater>(fake->workspacePort, defaultFeed, build);
        updater->setUserDriver(&driver);
        ASSERT_TRUE(server.isListening());
        ASSERT_EQ(controller.start(*updater), std::nullopt);
    }
    void start(const QString& build) { start(build, server.url(QStringLiteral("/appcast.xml"))); }

    // Asks for a check the way the About tab does and waits for the updater's answer.
    bool checkAndWait() {
        controller.checkForUpdates();
        return TestSupport::processEventsUntil([this] {
            return !driver.offers.empty() || !driver.errors.empty() ||
                   controller.state() != UpdateCheckState::checking();
        });
    }

    std::vector<QString> openedURLs() {
        std::lock_guard lock(fake->desktop.mutex);
        return fake->desktop.openedURLs;
    }

    ScopedFakePlatform fake;
    LoopbackFeedServer server;
    RecordingDriver driver;
    SparkleUpdateController controller;
    std::vector<UpdateCheckState> states;
    std::unique_ptr<AppcastUpdater> updater;
};

} // namespace

TEST_F(AppcastFeedCheck, NewestReleaseIsOfferedAcceptingOpensItsPageAndDismissingOpensNothing) {
    server.answer(
        QStringLiteral("/appcast.xml"),
        {200, "OK", feed(enclosureItem("3", "1.1") + enclosureItem("1", "0.9") + enclosureItem("2", "1.0"))});
    driver.choice = UpdateUserDriver::Choice::install;
    start(QStringLiteral("2"));
    ASSERT_TRUE(checkAndWait());

    ASSERT_EQ(driver.offers.size(), 1u);
    EXPECT_EQ(driver.offers[0].version, QStringLiteral("3"));
    EXPECT_EQ(driver.offers[0].displayVersion, QStringLiteral("1.1"));
    EXPECT_EQ(openedURLs(), std::vector{QStringLiteral("https://kestavon.example/releases/1.1")});
    EXPECT_EQ(states, (std::vector{UpdateCheckState::checking(), UpdateCheckState::downloading(0.0),
                                   UpdateCheckState::idle()}));
    EXPECT_EQ(server.requests(), QStringList{QStringLiteral("/appcast.xml")});

    driver.choice = UpdateUserDriver::Choice::dismiss;
    controller.checkForUpdates();
    ASSERT_TRUE(TestSupport::processEventsUntil([this] { return driver.offers.size() == 2; }));
    TestSupport::drainMainThread();
    EXPECT_EQ(openedURLs().size(), 1u);
    // Back to idle, so the button works again.
    EXPECT_EQ(controller.state(), UpdateCheckState::idle());
}

TEST_F(AppcastFeedCheck, SameOrOlderReleaseIsUpToDate) {
    server.answer(QStringLiteral("/same.xml"), {200, "OK", feed(enclosureItem("2.0", "1.0"))});
    server.answer(QStringLiteral("/older.xml"),
                  {200, "OK", feed(enclosureItem("1.9", "0.9") + enclosureItem("1.10b1", "1.0b1"))});
    start(QStringLiteral("2"), server.url(QStringLiteral("/same.xml")));
    ASSERT_TRUE(checkAndWait());
    EXPECT_EQ(controller.state(), UpdateCheckState::upToDate());

    QSettings().setValue(QLatin1String(UpdateFeedOverride::key), server.url(QStringLiteral("/older.xml")));
    ASSERT_TRUE(checkAndWait());
    EXPECT_EQ(controller.state(), UpdateCheckState::upToDate());
    EXPECT_TRUE(driver.offers.empty());
    EXPECT_TRUE(driver.errors.empty());
}

TEST_F(AppcastFeedCheck, VersionsGivenAsElementsCount) {
    server.answer(QStringLiteral("/appcast.xml"),
                  {200, "OK",
                   feed("<item><title>Version 3.0</title><link>https://kestavon.example/3</link>"
                        "<sparkle:version>30</sparkle:version>"
                        "<sparkle:shortVersionString>3.0</sparkle:shortVersionString>"
                        "<enclosure url=\"https://kestavon.example/3.tar.gz\" length=\"1\"/></item>")});
    start(QStringLiteral("29"));
    ASSERT_TRUE(checkAndWait());
    ASSERT_EQ(driver.offers.size(), 1u);
    EXPECT_EQ(driver.offers[0].displayVersion, QStringLiteral("3.0"));
}

TEST_F(AppcastFeedCheck, MissingFeedFailsWithTheHttpStatus) {
    start(QStringLiteral("1"), server.url(QStringLiteral("/gone.xml")));
    ASSERT_TRUE(checkAndWait());
    ASSERT_EQ(driver.errors.size(), 1u);
    EXPECT_TRUE(driver.errors[0].startsWith(QStringLiteral("The update feed could not be loaded")));
    EXPECT_TRUE(driver.errors[0].contains(QStringLiteral("HTTP 404 (Not Found)")))
        << driver.errors[0].toStdString();
    // The page says so too, instead of staying on "checking" for good.
    TestSupport::drainMainThread();
    EXPECT_EQ(controller.state(), UpdateCheckState::failed(driver.errors[0]));
}

TEST_F(AppcastFeedCheck, MalformedXmlOrADocumentThatIsNotRssFails) {
    server.answer(QStringLiteral("/bad.xml"),
                  {200, "OK", "<rss version=\"2.0\"><channel><item><title>1.1</item></channel></rss>"});
    server.answer(QStringLiteral("/page.xml"), {200, "OK", "<html><body>Welcome</body></html>"});
    start(QStringLiteral("1"), server.url(QStringLiteral("/bad.xml")));
    ASSERT_TRUE(checkAndWait());
    QSettings().setValue(QLatin1String(UpdateFeedOverride::key), server.url(QStringLiteral("/page.xml")));
    controller.checkForUpdates();
    ASSERT_TRUE(TestSupport::processEventsUntil([this] { return driver.errors.size() == 2; }));
    EXPECT_TRUE(driver.errors[0].startsWith(QStringLiteral("The update feed is not a valid appcast:")))
        << driver.errors[0].toStdString();
    EXPECT_TRUE(driver.errors[1].contains(QStringLiteral("not an RSS feed")))
        << driver.errors[1].toStdString();
}

TEST_F(AppcastFeedCheck, RefusedConnectionFailsWithTheNetworkError) {
    start(QStringLiteral("1"),
          QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(LoopbackFeedServer::closedPort()));
    ASSERT_TRUE(checkAndWait());
    ASSERT_EQ(driver.errors.size(), 1u);
    EXPECT_TRUE(driver.errors[0].startsWith(QStringLiteral("The update feed could not be loaded: ")));
    EXPECT_TRUE(driver.errors[0].contains(QStringLiteral("refused"), Qt::CaseInsensitive))
        << driver.errors[0].toStdString();
}

TEST_F(AppcastFeedCheck, UserSettingReplacesTheBuiltInFeed) {
    server.answer(QStringLiteral("/beta.xml"), {200, "OK", feed(enclosureItem("7", "7.0"))});
    QSettings().setValue(QLatin1String(UpdateFeedOverride::key), QStringLiteral("  ") +
                                                                     server.url(QStringLiteral("/beta.xml")) +
                                                                     QStringLiteral("\n"));
    start(QStringLiteral("1"));
    ASSERT_TRUE(checkAndWait());
    EXPECT_EQ(server.requests(), QStringList{QStringLiteral("/beta.xml")});
    EXPECT_EQ(driver.offers.size(), 1u);
}

TEST_F(AppcastFeedCheck, AddressThatIsNotHttpFailsWithoutARequest) {
    QSettings().setValue(QLatin1String(UpdateFeedOverride::key),
                         QStringLiteral("ftp://127.0.0.1/appcast.xml"));
    start(QStringLiteral("1"));
    ASSERT_TRUE(checkAndWait());
    ASSERT_EQ(driver.errors.size(), 1u);
    EXPECT_TRUE(driver.errors[0].contains(QStringLiteral("not an http or https address")));
    EXPECT_TRUE(server.requests().isEmpty());
}

TEST_F(AppcastFeedCheck, StartIsRefusedWithoutAnyFeedAddress) {
    AppcastUpdater unconfigured(fake->workspacePort, QString(), QStringLiteral("1"));
    const std::optional<QString> error = controller.start(unconfigured);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("SUFeedURL")));
    EXPECT_FALSE(controller.hasUpdater());
}
