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

using namespace std::chrono_literals;

QByteArray feed(const QByteArray& items) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
           "<rss version=\"2.0\" xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">\n"
           "<channel><title>Kestavon</title>\n" +
           items + "</channel></rss>\n";
}

QByteArray item(const QByteArray& version, const QByteArray& shortVersion, const QByteArray& link,
                const QByteArray& enclosure) {
    return "<item><title>Kestavon " + shortVersion + "</title>" +
           (link.isEmpty() ? QByteArray() : "<link>" + link + "</link>") + "<enclosure url=\"" + enclosure +
           "\" sparkle:version=\"" + version + "\" sparkle:shortVersionString=\"" + shortVersion + "\"/></item>\n";
}

QByteArray enclosureItem(const QByteArray& version, const QByteArray& shortVersion) {
    return item(version, shortVersion, "https://kestavon.example/releases/" + shortVersion,
                "https://kestavon.example/Kestavon-" + shortVersion + ".tar.gz");
}

// The stand-in for the framework's windows: records what it was shown and answers offers as told.
class RecordingDriver final : public UpdateUserDriver {
public:
    void showUpdateFound(const AppcastItem& item, Reply reply) override {
        offers.push_back(item);
        if (choice) reply(*choice);
    }
    void showUpdaterError(const QString& message) override { errors.push_back(message); }

    std::optional<Choice> choice = Choice::install;
    std::vector<AppcastItem> offers;
    std::vector<QString> errors;
};

// Checks of the feed at "/appcast.xml" on the loopback server.
class FeedCheck : public ::testing::Test {
protected:
    FeedCheck() {
        // Loopback only, whatever proxy the machine may name.
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QSettings().remove(QLatin1String(UpdateFeedOverride::key));
        QObject::connect(&controller, &SparkleUpdateController::stateChanged,
                         [this] { states.push_back(controller.state()); });
    }
    ~FeedCheck() override { QSettings().remove(QLatin1String(UpdateFeedOverride::key)); }

    // Starts the updater for a running build `build`.
    void start(const QString& build = QStringLiteral("1")) {
        updater = std::make_unique<AppcastUpdater>(fake->workspacePort, server.url(QStringLiteral("/appcast.xml")),
                                                   build);
        updater->setUserDriver(&driver);
        ASSERT_TRUE(server.isListening());
        ASSERT_EQ(controller.start(*updater), std::nullopt);
    }

    // Asks for a check the way the About tab does; the state it ended in.
    UpdateCheckState check() {
        controller.checkForUpdates();
        EXPECT_TRUE(TestSupport::processEventsUntil([this] {
            const UpdateCheckState::Kind kind = controller.state().kind();
            return kind != UpdateCheckState::Kind::checking && kind != UpdateCheckState::Kind::downloading;
        }));
        TestSupport::drainMainThread();
        return controller.state();
    }
    UpdateCheckState check(LoopbackFeedServer::Answer answer) {
        server.answer(QStringLiteral("/appcast.xml"), std::move(answer));
        return check();
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
TEST_F(FeedCheck, NewestReleaseIsOfferedAcceptingOpensItsPageAndDismissingOpensNothing) {
    const QByteArray newest =
        "<item><title>Kestavon 1.1</title><link>https://kestavon.example/releases/1.1</link>"
        "<sparkle:version>3</sparkle:version>"
        "<sparkle:shortVersionString>1.1</sparkle:shortVersionString>"
        "<enclosure url=\"https://kestavon.example/1.1.tar.gz\" length=\"1\"/></item>";
    start(QStringLiteral("2"));
    check({200, "OK", feed(enclosureItem("1", "0.9") + newest + enclosureItem("2", "1.0"))});

    ASSERT_EQ(driver.offers.size(), 1u);
    EXPECT_EQ(driver.offers[0].version, QStringLiteral("3"));
    EXPECT_EQ(driver.offers[0].displayVersion, QStringLiteral("1.1"));
    EXPECT_EQ(openedURLs(), std::vector{QStringLiteral("https://kestavon.example/releases/1.1")});
    EXPECT_EQ(states, (std::vector{UpdateCheckState::checking(), UpdateCheckState::downloading(0.0),
                                   UpdateCheckState::idle()}));
    EXPECT_EQ(server.requests(), QStringList{QStringLiteral("/appcast.xml")});

    driver.choice = UpdateUserDriver::Choice::dismiss;
    // Back to idle, so the button works again.
    EXPECT_EQ(check(), UpdateCheckState::idle());
    EXPECT_EQ(driver.offers.size(), 2u);
    EXPECT_EQ(openedURLs().size(), 1u);
}

// A check that offers nothing: up to date, or a failure whose text the updater's window and
// the About tab both show, instead of staying on "checking" for good. A redirect to another
// scheme is not followed, and a feed over the limit is refused whether its size is declared or
// not. Each feed is the user's setting, which replaces the built-in one and is trimmed.
TEST_F(FeedCheck, FeedsThatOfferNothingAreUpToDateOrFailWithTheReason) {
    const QString notLoaded = QStringLiteral("The update feed could not be loaded: ");
    const QString tooLarge = notLoaded + "the feed is larger than 4 MiB.";
    const QByteArray huge =
        feed(enclosureItem("9", "9.0")) + QByteArray(AppcastUpdater::largestFeedBytes, ' ');
    const auto ok = [](const QByteArray& body) { return LoopbackFeedServer::Answer{200, "OK", body}; };
    // The feed's path on the server, or an address of its own ("closed": a port nobody listens
    // on); what the server answers (nothing: 404); parts of the failure's text (none: up to date).
    const struct {
        QString address;
        std::optional<LoopbackFeedServer::Answer> answer;
        QStringList failure;
    } rows[] = {
        {"/same.xml", ok(feed(enclosureItem("2.0", "1.0"))), {}},
        {"/older.xml", ok(feed(enclosureItem("1.9", "0.9") + enclosureItem("1.10b1", "1.0b1"))), {}},
        {"/gone.xml", {}, {notLoaded, "HTTP 404 (Not Found)"}},
        {"/bad.xml",
         ok("<rss version=\"2.0\"><channel><item><title>1.1</item></channel></rss>"),
         {"The update feed is not a valid appcast:"}},
        {"/page.xml", ok("<html><body>Welcome</body></html>"), {"not an RSS feed"}},
        {"/moved.xml", LoopbackFeedServer::Answer{302, "Found", {}, "Location: file:///etc/hostname\r\n"},
         {notLoaded}},
        {"/huge.xml", ok(huge), {tooLarge}},
        {"/huge-undeclared.xml", LoopbackFeedServer::Answer{200, "OK", huge, {}, false}, {tooLarge}},
        {"closed", {}, {notLoaded, "refused"}},
        {"ftp://127.0.0.1/appcast.xml", {}, {"not an http or https address"}},
    };
    start(QStringLiteral("2"));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.address.toStdString());
        const bool served = row.address.startsWith(u'/');
        if (row.answer) server.answer(row.address, *row.answer);
        QString address = served ? server.url(row.address) : row.address;
        if (row.address == QLatin1String("closed"))
            address = QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(LoopbackFeedServer::closedPort());
        QSettings().setValue(QLatin1String(UpdateFeedOverride::key), " " + address + "\n");
        driver.errors.clear();
        const qsizetype requestsBefore = server.requests().size();
        const UpdateCheckState ended = check();
        EXPECT_TRUE(driver.offers.empty());
        EXPECT_EQ(server.requests().mid(requestsBefore), served ? QStringList{row.address} : QStringList{});
        if (row.failure.isEmpty()) {
            EXPECT_TRUE(driver.errors.empty());
            EXPECT_EQ(ended, UpdateCheckState::upToDate());
            continue;
        }
        ASSERT_EQ(driver.errors.size(), 1u);
        for (const QString& part : row.failure)
            EXPECT_TRUE(driver.errors[0].contains(part)) << driver.errors[0].toStdString();
        EXPECT_EQ(ended, UpdateCheckState::failed(driver.errors[0]));
    }
}

TEST_F(FeedCheck, StartIsRefusedWithoutAnyFeedAddress) {
    AppcastUpdater unconfigured(fake->workspacePort, QString(), QStringLiteral("1"));
    const std::optional<QString> error = controller.start(unconfigured);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->contains(QStringLiteral("SUFeedURL")));
    EXPECT_FALSE(controller.hasUpdater());
}

// Only web addresses are opened, from a release's page or its download.
TEST_F(FeedCheck, ReleaseAddressesOpenOnlyOnTheWeb) {
    const struct {
        QByteArray link, enclosure;
        bool opened;
    } rows[] = {
        {"http://kestavon.example/9", {}, true},
        {"file:///etc/passwd", {}, false},
        {"x-kestavon-run://now", {}, false},
        {"javascript:alert(1)", {}, false},
        {{}, "smb://share.example/Kestavon-9.tar.gz", false},
    };
    start();
    for (const auto& row : rows) {
        const QString page = QString::fromUtf8(row.link.isEmpty() ? row.enclosure : row.link);
        SCOPED_TRACE(page.toStdString());
        const std::vector<QString> before = openedURLs();
        const UpdateCheckState ended = check({200, "OK", feed(item("9", "9.0", row.link, row.enclosure))});
        EXPECT_EQ(openedURLs().size() - before.size(), row.opened ? 1u : 0u);
        if (row.opened) {
            EXPECT_EQ(openedURLs().back(), page);
            continue;
        }
        EXPECT_EQ(ended, UpdateCheckState::failed(QStringLiteral("The update feed gives \"%1\" as the address of "
                                                                 "version 9.0; only http and https addresses are "
                                                                 "opened, so it was not.")
                                                      .arg(page)));
    }
}

TEST_F(FeedCheck, AServerThatTricklesItsAnswerFailsAtTheCheckDeadline) {
    start();
    updater->setCheckDeadline(200ms);
    check({200, "OK", feed(enclosureItem("9", "9.0")), {}, true, 20});
    ASSERT_EQ(driver.errors.size(), 1u);
    EXPECT_EQ(driver.errors[0], QStringLiteral("The update feed could not be loaded: the server did not answer in full "
                                               "within 0.2 seconds."));
}

// Which release is newer than the running build: numbered, not as text.
TEST(VersionComparator, OrdersReleasesAsNumberedAndSpellingsOfTheSameVersionAreEqual) {
    const struct {
        const char* older;
        const char* newer;
        int order; // -1: older < newer; 0: the same version
    } table[] = {
        {"1.9", "1.10", -1}, {"2", "10", -1}, {"1.0", "1.0.1", -1}, {"1.0b2", "1.0", -1}, {"1.0b2", "1.0b10", -1},
        {"1.0beta3", "1.0rc1", -1}, {"1.0b", "1.0.1", -1}, {"", "1", -1}, {"0.9", "1", -1},
        {"99999999999999999999", "100000000000000000000", -1}, {"1.2 (build 7)", "1.2 (build 8)", -1},
        {"1.0", "1.0.0", 0}, {"2", "2.0.0.0", 0}, {"v1.2", "1.2", 0}, {"01.002", "1.2", 0}, {"1.0B1", "1.0b1", 0},
        {" 3.1 ", "3.1", 0}, {"", "", 0},
    };
    const auto sign = [](int n) { return (n > 0) - (n < 0); };
    for (const auto& row : table) {
        EXPECT_EQ(sign(VersionComparator::compare(row.older, row.newer)), row.order) << row.older << " " << row.newer;
        EXPECT_EQ(sign(VersionComparator::compare(row.newer, row.older)), -row.order) << row.newer << " " << row.older;
    }
}
