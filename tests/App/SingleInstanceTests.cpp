#include "App/SingleInstance.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QStringList>

#include <gtest/gtest.h>

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
