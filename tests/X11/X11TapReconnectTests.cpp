// A display that goes away under a running tap: a second, bare Xvfb of the test's own is
// stopped and started again at the same number.
#include "RecordingTap.h"
#include "XSession.h"
#include "XTestInjector.h"

#include <gtest/gtest.h>

namespace {

struct SpareXServer {
    ~SpareXServer() { endChild(pid); }
    bool start(std::optional<int> number = std::nullopt) {
        pid = XSession::startXvfb(&display, number);
        name = display.toLatin1();
        return pid > 0;
    }
    pid_t pid = 0;
    QString display;
    QByteArray name;
};

} // namespace

TEST(X11TapReconnection, ALostDisplayIsReopenedAndTheCallbackToldToStartAfresh) {
    KESTAVON_REQUIRE_X_SESSION();
    SpareXServer server;
    ASSERT_TRUE(server.start());
    RecordingTap tap(RecordingTap::swallowKey(12), server.name.constData());
    ASSERT_TRUE(tap.tap());

    endChild(server.pid);
    ASSERT_TRUE(server.start(server.display.mid(1).toInt()));
    ASSERT_TRUE(tap.waitForEvents(1, 20000)) << "the tap never came back";
    EXPECT_EQ(tap.seen()[0], RecordingTap::Seen(EventType::tapDisabledByTimeout, 0, 0));

    // The keys are grabbed again on the new server.
    auto injector = XTestInjector::open(server.name.constData());
    ASSERT_TRUE(injector);
    injector->press(XKey::superRight);
    injector->type(XKey::q);
    ASSERT_TRUE(tap.waitForEvents(3));
    EXPECT_EQ(tap.seen()[2], RecordingTap::Seen(EventType::keyDown, 12, EventFlag::command));
}
