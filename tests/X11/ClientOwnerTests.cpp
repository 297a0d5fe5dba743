// Whose process a window's pid names, read from a process file system of the test's own.
#include "Platform/X11/ProcessInfo.h"
#include "Platform/X11/X11ClientOwner.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(ClientOwner, APidIsOursWhenItsProcessRunsForUsByItsRealUserOnThisHost) {
    const QString proc = TestSupport::freshFolder();
    const auto status = [&](int pid, const QByteArray& text) {
        QDir().mkpath(proc + '/' + QString::number(pid));
        TestSupport::writeAll(proc + '/' + QString::number(pid) + "/status",
                              "Name:\tx\n" + text + "Gid:\t0\n");
    };
    status(10, "Uid:\t1000\t0\t0\t0\n"); // a set-user-id program we started
    status(11, "Uid:\t0\t1000\t1000\t1000\n");
    status(12, "");
    status(13, "Uid:\tx\t1000\n");
    status(14, "Uid:\t4294967295\t1000\n");
    const struct {
        std::int32_t pid;
        std::optional<uid_t> user;
        bool ours;
    } cases[] = {{10, 1000, true}, {11, 0, false},  {12, {}, false},
                 {13, {}, false},  {14, {}, false}, {15, {}, false} /* no such process */,
                 {-10, {}, false}};
    X11ClientOwner owner(1000, QFile::encodeName(proc));
    for (const auto& c : cases) {
        EXPECT_EQ(ProcessInfo::realUser(c.pid, QFile::encodeName(proc)), c.user) << c.pid;
        EXPECT_EQ(owner.isOurs(c.pid, std::nullopt), c.ours) << c.pid;
    }
    EXPECT_FALSE(owner.isOurs(10, "elsewhere.invalid")) << "a pid of another machine";
}

TEST(ClientOwner, AClientMachineIsThisHostByItsNameCaseAsideWithOrWithoutTheDomain) {
    const struct {
        const char *machine, *host;
        bool same;
    } cases[] = {
        {"box", "box", true},
        {"Box", "box", true},
        {"box.example.org", "box", true},
        {"box", "BOX.example.org", true},
        {"boxer", "box", false},
        {"box.example.org", "box.example.com", false},
        {"", "box", false},
        {"box", "", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(X11ClientOwner::isHost(c.machine, c.host), c.same) << c.machine << " on " << c.host;
}
