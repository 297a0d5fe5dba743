// Whose process a window's pid names, read from a process file system of the test's own.
#include "Platform/Linux/ProcessInfo.h"
#include "Platform/X11/X11ClientOwner.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(ClientOwner, APidIsOursWhenItsProcessRunsForUsByItsRealUserAndItsWindowSaysNoOtherHost) {
    const QString proc = TestSupport::freshFolder();
    const struct {
        std::int32_t pid;
        QByteArray uidLine; // none: no such process
        std::optional<uid_t> user;
    } cases[] = {{10, "Uid:\t1000\t0\t0\t0\n", 1000}, // a set-user-id program we started
                 {11, "Uid:\t0\t1000\t1000\t1000\n", 0}, {12, "", {}}, {13, "Uid:\tx\t1000\n", {}},
                 {14, "Uid:\t4294967295\t1000\n", {}},   {15, {}, {}}, {-10, {}, {}}};
    for (const auto& c : cases) {
        if (c.uidLine.isNull()) continue;
        QDir().mkpath(proc + '/' + QString::number(c.pid));
        TestSupport::writeAll(proc + '/' + QString::number(c.pid) + "/status",
                              "Name:\tx\n" + c.uidLine + "Gid:\t0\n");
    }
    X11ClientOwner owner(1000, QFile::encodeName(proc));
    for (const auto& c : cases) {
        EXPECT_EQ(ProcessInfo::realUser(c.pid, QFile::encodeName(proc)), c.user) << c.pid;
        EXPECT_EQ(owner.isOurs(c.pid, std::nullopt), c.user == 1000u) << c.pid;
    }
    EXPECT_FALSE(owner.isOurs(10, "elsewhere.invalid")) << "a pid of another machine";
    // The server's pid is of this machine whatever the client names; it is judged like any other.
    EXPECT_TRUE(owner.isOurs(X11ClientProcess{10, true, "elsewhere.invalid"}));
    EXPECT_FALSE(owner.isOurs(X11ClientProcess{10, false, "elsewhere.invalid"}) ||
                 owner.isOurs(X11ClientProcess{11, true, {}}) || owner.isOurs(X11ClientProcess{}));
    // This host by its name, letter case aside, with or without the domain; no other.
    EXPECT_TRUE(X11ClientOwner::isHost("box.example.org", "BOX") &&
                X11ClientOwner::isHost("box", "box.example.org"));
    EXPECT_FALSE(X11ClientOwner::isHost("boxer", "box") ||
                 X11ClientOwner::isHost("box.example.org", "box.example.com"));
}
