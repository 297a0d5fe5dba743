#include "BindingsTestSupport.h"

#include "Support/HotkeyLog.h"
#include "Support/DataFolder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace BindingsTestSupport {
namespace {

// The log decides once, at first use, whether it is on: the switch file must exist before any
// test runs, also when all tests share one process.
class LogSwitchedOn : public ::testing::Environment {
public:
    void SetUp() override {
        QDir().mkpath(DataFolder::path());
        TestSupport::writeAll(DataFolder::file(QStringLiteral("hotkey.log.on")), "");
        ASSERT_TRUE(HotkeyLog::shared().enabled());
    }
};

[[maybe_unused]] ::testing::Environment* const logSwitch =
    ::testing::AddGlobalTestEnvironment(new LogSwitchedOn);

} // namespace

LogWatch::LogWatch() {
    HotkeyLog::shared().flush();
    start_ = QFileInfo(HotkeyLog::shared().fileURL()).size();
}

QStringList LogWatch::messages() const {
    HotkeyLog::shared().flush();
    const QByteArray fresh = TestSupport::readAll(HotkeyLog::shared().fileURL()).mid(start_);
    constexpr qsizetype stampLength = 19; // "MM-dd HH:mm:ss.SSS "
    QStringList messages;
    for (const QByteArray& line : fresh.split('\n')) {
        if (!line.isEmpty()) messages.append(QString::fromUtf8(line.mid(stampLength)));
    }
    return messages;
}

QStringList LogWatch::messagesStartingWith(const QString& prefix) const {
    QStringList matching;
    for (const QString& message : messages()) {
        if (message.startsWith(prefix)) matching.append(message);
    }
    return matching;
}

QString fileWith(const QByteArray& bytes) {
    const QString path = TestSupport::freshFolder() + QStringLiteral("/keyBindings.json");
    TestSupport::writeAll(path, bytes);
    return path;
}

AppEntry app(const QString& id, const QString& name) {
    return {id, QStringLiteral("/usr/share/applications/") + id + QStringLiteral(".desktop"), name};
}

} // namespace BindingsTestSupport
