#include "Platform/Linux/AppcastUpdater.h"

#include "LoopbackFeedServer.h"
#include "Platform/Fake/FakePlatform.h"
#include "Platform/Linux/UpdateUserDriver.h"
#include "Platform/Linux/VersionComparator.h"
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

// The newest release gives its versions as elements, the others as attributes: both count.
TEST_F(AppcastFeedCheck, NewestReleaseIsOfferedAcceptingOpensItsPageAndDismissingOpensNothing) {
    const QByteArray newest =
        "<item><title>Kestavon 1.1</title><link>https://kestavon.example/releases/1.1</link>"
        "<sparkle:version>3</sparkle:version>"
        "<sparkle:shortVersionString>1.1</sparkle:shortVersionString>"
        "<enclosure url=\"https://kestavon.example/1.1.tar.gz\" length=\"1\"/></item>";
    server.answer(QStringLiteral("/appcast.xml"),
                  {200, "OK", feed(enclosureItem("1", "0.9") + newest + enclosureItem("2", "1.0"))});
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

// A check that offers nothing: up to date, or a failure whose text the updater's window and
// the About tab both show, instead of staying on "checking" for good. Each feed is the user's
// setting, which replaces the built-in one and is trimmed.
TEST_F(AppcastFeedCheck, FeedsThatOfferNothingAreUpToDateOrFailWithTheReason) {
    const QString notLoaded = QStringLiteral("The update feed could not be loaded: ");
    // The feed's path on the server, or an address of its own ("closed": a port nobody listens
    // on); what the server answers (nothing: 404); parts of the failure's text (none: up to date).
    const struct {
        QString address;
        QByteArray body;
        QStringList failure;
    } rows[] = {
        {"/same.xml", feed(enclosureItem("2.0", "1.0")), {}},
        {"/older.xml", feed(enclosureItem("1.9", "0.9") + enclosureItem("1.10b1", "1.0b1")), {}},
        {"/gone.xml", {}, {notLoaded, "HTTP 404 (Not Found)"}},
        {"/bad.xml",
         "<rss version=\"2.0\"><channel><item><title>1.1</item></channel></rss>",
         {"The update feed is not a valid appcast:"}},
        {"/page.xml", "<html><body>Welcome</body></html>", {"not an RSS feed"}},
        {"closed", {}, {notLoaded, "refused"}},
        {"ftp://127.0.0.1/appcast.xml", {}, {"not an http or https address"}},
    };
    start(QStringLiteral("2"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address.toStdString());
        const bool served = row.address.startsWith(u'/');
        if (!row.body.isEmpty()) server.answer(row.address, {200, "OK", row.body});
        QString address = served ? server.url(row.address) : row.address;
        if (row.address == QLatin1String("closed"))
            address = QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(LoopbackFeedServer::closedPort());
        QSettings().setValue(QLatin1String(UpdateFeedOverride::key), " " + address + "\n");
        driver.errors.clear();
        const qsizetype requestsBefore = server.requests().size();
        ASSERT_TRUE(checkAndWait());
        TestSupport::drainMainThread();
        EXPECT_TRUE(driver.offers.empty());
        EXPECT_EQ(server.requests().mid(requestsBefore), served ? QStringList{row.address} : QStringList{});
        if (row.failure.isEmpty()) {
            EXPECT_TRUE(driver.errors.empty());
            EXPECT_EQ(controller.state(), UpdateCheckState::upToDate());
            continue;
        }
        ASSERT_EQ(driver.errors.size(), 1u);
        for (const QString& part : row.failure)
            EXPECT_TRUE(driver.errors[0].contains(part)) << driver.errors[0].toStdString();
        EXPECT_EQ(controller.state(), UpdateCheckState::failed(driver.errors[0]));
    }
}

TEST_F(AppcastFeedCheck, StartIsRefusedWithoutAnyFeedAddress) {
    AppcastUpdater unconfigured(fake->workspacePort, QString(), QStringLiteral("1"));
    const std::optional<QString> error = controller.start(unconfigured);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("SUFeedURL")));
    EXPECT_FALSE(controller.hasUpdater());
}

namespace {

struct Ordered {
    const char* older;
    const char* newer;
};

} // namespace

// Which release is newer than the running build.
TEST(VersionComparator, OrdersReleasesAsNumberedNotAsText) {
    const Ordered table[] = {
        {"1.9", "1.10"},
        {"2", "10"},
        {"1.0", "1.0.1"},
        {"1.0b2", "1.0"},
        {"1.0b2", "1.0b10"},
        {"1.0beta3", "1.0rc1"},
        {"1.0b", "1.0.1"},
        {"", "1"},
        {"0.9", "1"},
        {"99999999999999999999", "100000000000000000000"},
        {"1.2 (build 7)", "1.2 (build 8)"},
    };
    for (const Ordered& row : table) {
        EXPECT_LT(VersionComparator::compare(row.older, row.newer), 0) << row.older << " < " << row.newer;
        EXPECT_GT(VersionComparator::compare(row.newer, row.older), 0) << row.newer << " > " << row.older;
    }
}

TEST(VersionComparator, SpellingsOfTheSameVersionAreEqual) {
    const Ordered same[] = {{"1.0", "1.0.0"},   {"2", "2.0.0.0"}, {"v1.2", "1.2"}, {"01.002", "1.2"},
                            {"1.0B1", "1.0b1"}, {" 3.1 ", "3.1"}, {"", ""}};
    for (const Ordered& row : same)
        EXPECT_EQ(VersionComparator::compare(row.older, row.newer), 0) << row.older << " == " << row.newer;
}
