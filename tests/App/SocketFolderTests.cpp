#include "App/SingleInstance.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t nobody = 65534;

// Sets an environment variable, or clears it, for one test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::optional<QString>& value) : name_(name) {
        if (qEnvironmentVariableIsSet(name)) old_ = qgetenv(name);
        set(value ? std::optional(value->toUtf8()) : std::nullopt);
    }
    ~ScopedVariable() { set(old_); }

private:
    void set(const std::optional<QByteArray>& value) const {
        value ? void(qputenv(name_, *value)) : void(qunsetenv(name_));
    }

    const char* name_;
    std::optional<QByteArray> old_;
};

// A folder made ahead of Kestavon with this mode, by the given user; false when the machine
// cannot make another user's folder (that needs root).
bool premade(const QString& path, mode_t mode, uid_t owner) {
    QDir().mkpath(path);
    const QByteArray native = QFile::encodeName(path);
    return ::chmod(native.constData(), mode) == 0 &&
           (owner == ::geteuid() || ::chown(native.constData(), owner, owner) == 0);
}

// The folder the toolkit falls back on without a runtime folder, in the shared temporary folder.
QString temporaryFallback(const QString& scratch) {
    return scratch + QStringLiteral("/tmp/runtime-") + QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
}

struct FolderCase {
    const char* name;
    /// Under the test's scratch folder; nothing for an unset variable.
    const char* runtime;
    /// Makes what was there before Kestavon; false when it cannot.
    bool (*prepare)(const QString& scratch);
    bool runtimeIsUsed;
};

void PrintTo(const FolderCase& c, std::ostream* out) { *out << c.name; }

class SocketFolder : public testing::TestWithParam<FolderCase> {};

const QString ownFolder = QStringLiteral("/home/.cache/kestavon");

} // namespace

TEST_P(SocketFolder, IsTheUsersOwnAndKeepsToOneInstance) {
    const FolderCase& c = GetParam();
    const QString scratch = TestSupport::freshFolder();
    // The shared temporary folder and the home folder of this test alone.
    const ScopedVariable temporary("TMPDIR", scratch + QStringLiteral("/tmp"));
    const ScopedVariable home("HOME", scratch + QStringLiteral("/home"));
    const ScopedVariable cache("XDG_CACHE_HOME", std::nullopt);
    const std::optional<QString> runtime =
        c.runtime ? std::optional(scratch + QLatin1String(c.runtime)) : std::nullopt;
    const ScopedVariable variable("XDG_RUNTIME_DIR", runtime);
    QDir().mkpath(scratch + QStringLiteral("/tmp"));
    if (c.prepare && !c.prepare(scratch)) GTEST_SKIP() << "another user's folder can be made by root only";

    const QString folder = SingleInstance::socketFolder();
    EXPECT_EQ(folder, c.runtimeIsUsed ? *runtime : scratch + ownFolder);
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(folder).constData(), &info), 0);
    EXPECT_EQ(info.st_uid, ::geteuid());
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    const QString path = SingleInstance::socketPath();
    EXPECT_TRUE(path.startsWith(folder + QStringLiteral("/kestavon-"))) << path.toStdString();
    const std::unique_ptr<SingleInstance> first = SingleInstance::claim(path);
    ASSERT_TRUE(first && first->listening());
    EXPECT_EQ(SingleInstance::claim(SingleInstance::socketPath()), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Runtime, SocketFolder,
    testing::Values(
        FolderCase{"Unset", nullptr, nullptr, false},
        FolderCase{"UnsetAndTheTemporaryFallbackMadeByAnotherUser", nullptr,
                   [](const QString& s) { return premade(temporaryFallback(s), 0700, nobody); }, false},
        FolderCase{"UnsetAndTheOwnFolderOpenToOthers", nullptr,
                   [](const QString& s) { return premade(s + ownFolder, 0777, ::geteuid()); }, false},
        FolderCase{"OpenToOthers", "/run", [](const QString& s) { return premade(s + QStringLiteral("/run"), 0777, ::geteuid()); },
                   false},
        FolderCase{"AnotherUsers", "/run", [](const QString& s) { return premade(s + QStringLiteral("/run"), 0700, nobody); }, false},
        FolderCase{"Private", "/run", [](const QString& s) { return premade(s + QStringLiteral("/run"), 0700, ::geteuid()); }, true}),
    [](const testing::TestParamInfo<FolderCase>& info) { return std::string(info.param.name); });
