// A display that goes away under a running tap: a second, bare Xvfb of the test's own is
// stopped and started again at the same number.
#include "Platform/X11/X11EventTap.h"
#include "RecordingTap.h"
#include "XSession.h"
#include "XTestInjector.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class SpareXServer {
public:
    ~SpareXServer() { stop(); }

    /// Starts Xvfb at `number`, or at a free number when none is given; true once it
    /// accepts clients.
    bool start(std::optional<int> number = std::nullopt) {
        int fds[2];
        if (pipe(fds) != 0) return false;
        const std::string fd = std::to_string(fds[1]);
        const std::string name = number ? ":" + std::to_string(*number) : std::string();
        pid_ = fork();
        if (pid_ == 0) {
            const int devnull = ::open("/dev/null", O_RDWR);
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
            if (name.empty())
                execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp",
                       static_cast<char*>(nullptr));
            else
                execlp("Xvfb", "Xvfb", name.c_str(), "-displayfd", fd.c_str(), "-nolisten", "tcp",
                       static_cast<char*>(nullptr));
            _exit(127);
        }
        ::close(fds[1]);
        // Xvfb writes its number once it is ready.
        std::string written;
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, int(deadline.remainingTime())) <= 0) break;
            char buffer[16];
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            written.append(buffer, std::size_t(n));
        }
        ::close(fds[0]);
        if (written.empty()) return false;
        number_ = std::stoi(written);
        display_ = ":" + std::to_string(number_);
        return true;
    }

    void stop() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = 0;
    }

    int number() const { return number_; }
    const char* display() const { return display_.c_str(); }

private:
    pid_t pid_ = 0;
    int number_ = -1;
    std::string display_;
};

} // namespace

TEST(X11TapReconnection, ALostDisplayIsReopenedAndTheCallbackToldToStartAfresh) {
    KESTAVON_REQUIRE_X_SESSION();
    SpareXServer server;
    ASSERT_TRUE(server.start());
    RecordingTap tap(
        [&](EventTapPort::Callback callback) {
            return X11EventTap::open(server.display(), std::move(callback));
        },
        RecordingTap::swallowKey(12));
    ASSERT_TRUE(tap.created());

    server.stop();
    ASSERT_TRUE(server.start(server.number()));
    ASSERT_TRUE(tap.waitForEvents(1, 20000)) << "the tap never came back";
    EXPECT_EQ(tap.seen()[0], RecordingTap::Seen(EventType::tapDisabledByTimeout, 0, 0));

    // The keys are grabbed again on the new server.
    auto injector = XTestInjector::open(server.display());
    ASSERT_TRUE(injector);
    injector->press(XKey::superRight);
    injector->type(XKey::q);
    ASSERT_TRUE(tap.waitForEvents(3));
    EXPECT_EQ(tap.seen()[2], RecordingTap::Seen(EventType::keyDown, 12, EventFlag::command));
}
