#include "App/SingleInstance.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

#include <future>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString socketIn(const QString& folder) {
    return folder + QStringLiteral("/kestavon-test");
}

} // namespace

TEST(SingleInstance, ALaterClaimIsRefusedAndAsksTheHolderForItsWindowUntilTheHolderEnds) {
    const QString path = socketIn(TestSupport::freshFolder());
    EXPECT_FALSE(SingleInstance::ask(path, SingleInstance::Request::quit));
    std::unique_ptr<SingleInstance> first = SingleInstance::claim(path);
    ASSERT_TRUE(first);
    ASSERT_TRUE(first->listening());
    QStringList requests;
    QObject::connect(first.get(), &SingleInstance::showRequested, [&] { requests << "show"; });
    QObject::connect(first.get(), &SingleInstance::quitRequested, [&] { requests << "quit"; });

    EXPECT_EQ(SingleInstance::claim(path), nullptr);
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return requests.size() == 1; }));
    EXPECT_TRUE(SingleInstance::ask(path, SingleInstance::Request::quit));
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return requests.size() == 2; }));
    EXPECT_EQ(requests, (QStringList{"show", "quit"}));
    // Only this user may call.
    EXPECT_EQ(QFileInfo(path).permissions() &
                  (QFile::ReadOther | QFile::WriteOther | QFile::ReadGroup | QFile::WriteGroup),
              QFile::Permissions());

    first.reset();
    EXPECT_TRUE(SingleInstance::claim(path));
}

TEST(SingleInstance, AJumpIsAnsweredByTheRunningInstanceWithWhetherTheStrokeRan) {
    const QString path = socketIn(TestSupport::freshFolder());
    EXPECT_EQ(SingleInstance::jump(path, QStringLiteral("1-q")), SingleInstance::JumpAnswer::notRunning);
    const std::unique_ptr<SingleInstance> running = SingleInstance::claim(path);
    ASSERT_TRUE(running);
    // Waits on another thread, as the calling process does, while this one answers.
    const auto jumpFromElsewhere = [&path](const char* key) {
        auto answer = std::async(std::launch::async, [&path, key] {
            return SingleInstance::jump(path, QString::fromLatin1(key));
        });
        EXPECT_TRUE(TestSupport::processEventsUntil(
            [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
        return answer.get();
    };
    // With nothing to answer jumps yet, nothing runs.
    EXPECT_EQ(jumpFromElsewhere("1-q"), SingleInstance::JumpAnswer::unbound);

    QStringList asked;
    bool showAsked = false;
    QObject::connect(running.get(), &SingleInstance::showRequested, [&] { showAsked = true; });
    running->setJumpHandler([&](const QString& key) {
        asked << key;
        return key == QLatin1String("1-q");
    });
    EXPECT_EQ(jumpFromElsewhere("1-q"), SingleInstance::JumpAnswer::ran);
    EXPECT_EQ(jumpFromElsewhere("2-a"), SingleInstance::JumpAnswer::unbound);
    EXPECT_EQ(asked, (QStringList{"1-q", "2-a"}));
    EXPECT_FALSE(showAsked);
}

TEST(SingleInstance, ASocketLeftByAProcessThatEndedIsTakenOver) {
    const QString path = socketIn(TestSupport::freshFolder());
    // Bound and never listened on: what a killed instance leaves behind.
    const int left = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.toLocal8Bit();
    ASSERT_LT(static_cast<std::size_t>(name.size()), sizeof address.sun_path);
    std::copy(name.begin(), name.end(), address.sun_path);
    ASSERT_EQ(::bind(left, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(left);

    const std::unique_ptr<SingleInstance> instance = SingleInstance::claim(path);
    ASSERT_TRUE(instance);
    EXPECT_TRUE(instance->listening());
}

TEST(SingleInstance, WithNowhereToListenKestavonStillRuns) {
    const std::unique_ptr<SingleInstance> instance =
        SingleInstance::claim(TestSupport::freshFolder() + QStringLiteral("/no-such-folder/kestavon"));
    ASSERT_TRUE(instance);
    EXPECT_FALSE(instance->listening());
}
