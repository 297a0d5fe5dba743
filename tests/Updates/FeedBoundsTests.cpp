#include "Platform/Linux/AppcastUpdater.h"

#include "LoopbackFeedServer.h"
#include "Platform/Fake/FakePlatform.h"
#include "Platform/Linux/UpdateUserDriver.h"
#include "Updates/SparkleUpdateController.h"
#include "Updates/UpdateFeedOverride.h"
#include "support/TestSupport.h"

#include <QNetworkProxy>
#include <QSettings>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace std::chrono_literals;

// One release, newer than the running build, with these addresses.
QByteArray feedWith(const QByteArray& link, const QByteArray& enclosure = {}) {
    return "<?xml version=\"1.0\"?><rss version=\"2.0\"><channel><item><title>Kestavon 9</title>" +
           (link.isEmpty() ? QByteArray() : "<link>" + link + "</link>") + "<enclosure url=\"" + enclosure +
           "\" sparkle:version=\"9\" sparkle:shortVersionString=\"9.0\"/></item></channel></rss>";
}

// Takes every offer, records every error.
class Accepting final : public UpdateUserDriver {
public:
    void showUpdateFound(const AppcastItem&, Reply reply) override { reply(Choice::install); }
    void showUpdaterError(const QString& message) override { errors.push_back(message); }
    std::vector<QString> errors;
};

// A check of the feed at "/appcast.xml" on the loopback server, by a build numbered 1.
class FeedCheck : public testing::Test {
protected:
    FeedCheck() {
        QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
        QSettings().remove(QLatin1String(UpdateFeedOverride::key));
        updater.setUserDriver(&driver);
        EXPECT_EQ(controller.start(updater), std::nullopt);
    }
    // The state the check ended in.
    UpdateCheckState check(LoopbackFeedServer::Answer answer) {
        server.answer(QStringLiteral("/appcast.xml"), std::move(answer));
        controller.checkForUpdates();
        EXPECT_TRUE(TestSupport::processEventsUntil([this] {
            const UpdateCheckState::Kind kind = controller.state().kind();
            return kind != UpdateCheckState::Kind::checking && kind != UpdateCheckState::Kind::downloading;
        }));
        return controller.state();
    }
    std::vector<QString> opened() {
        std::lock_guard lock(fake->desktop.mutex);
        return fake->desktop.openedURLs;
    }

    ScopedFakePlatform fake;
    LoopbackFeedServer server;
    AppcastUpdater updater{fake->workspacePort, server.url(QStringLiteral("/appcast.xml")), QStringLiteral("1")};
    Accepting driver;
    SparkleUpdateController controller;
};

struct LinkCase {
    const char* name;
    QByteArray link;
    QByteArray enclosure;
    bool opened;
};

void PrintTo(const LinkCase& c, std::ostream* out) { *out << c.name; }

class FeedLinks : public FeedCheck, public testing::WithParamInterface<LinkCase> {};

} // namespace

TEST_P(FeedLinks, OpenOnlyOnTheWeb) {
    const LinkCase& c = GetParam();
    const UpdateCheckState ended = check({200, "OK", feedWith(c.link, c.enclosure)});
    const QString page = QString::fromUtf8(c.link.isEmpty() ? c.enclosure : c.link);
    if (c.opened) {
        EXPECT_EQ(opened(), std::vector{page});
        return;
    }
    EXPECT_TRUE(opened().empty());
    EXPECT_EQ(ended, UpdateCheckState::failed(QStringLiteral("The update feed gives \"%1\" as the address of version "
                                                             "9.0; only http and https addresses are opened, so it was not.")
                                                  .arg(page)));
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, FeedLinks,
    testing::Values(LinkCase{"WebPage", "http://kestavon.example/9", {}, true},
                    LinkCase{"LocalFile", "file:///etc/passwd", {}, false},
                    LinkCase{"CustomSchemeHandler", "x-kestavon-run://now", {}, false},
                    LinkCase{"ScriptAddress", "javascript:alert(1)", {}, false},
                    LinkCase{"DownloadFromAFileShare", {}, "smb://share.example/Kestavon-9.tar.gz", false}),
    [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST_F(FeedCheck, ARedirectToAnotherSchemeIsNotFollowed) {
    const UpdateCheckState ended = check({302, "Found", {}, "Location: file:///etc/hostname\r\n"});
    ASSERT_EQ(ended.kind(), UpdateCheckState::Kind::failed);
    ASSERT_EQ(driver.errors.size(), 1u);
    EXPECT_TRUE(driver.errors[0].startsWith(QStringLiteral("The update feed could not be loaded: ")));
    EXPECT_TRUE(opened().empty());
}

TEST_F(FeedCheck, AFeedLargerThanTheLimitIsRefusedWhetherItsSizeIsDeclaredOrNot) {
    const QByteArray huge = feedWith("https://kestavon.example/9") +
                            QByteArray(AppcastUpdater::largestFeedBytes, ' ');
    for (bool declared : {true, false}) {
        driver.errors.clear();
        check({200, "OK", huge, {}, declared});
        ASSERT_EQ(driver.errors.size(), 1u) << declared;
        EXPECT_EQ(driver.errors[0], QStringLiteral("The update feed could not be loaded: the feed is larger than 4 MiB."));
    }
    EXPECT_TRUE(opened().empty());
}

TEST_F(FeedCheck, AServerThatTricklesItsAnswerFailsAtTheCheckDeadline) {
    updater.setCheckDeadline(200ms);
    check({200, "OK", feedWith("https://kestavon.example/9"), {}, true, 20});
    ASSERT_EQ(driver.errors.size(), 1u);
    EXPECT_EQ(driver.errors[0], QStringLiteral("The update feed could not be loaded: the server did not answer in full "
                                               "within 0.2 seconds."));
}
