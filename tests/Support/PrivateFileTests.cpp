#include "Support/FileIO.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <optional>

namespace {

// The usual mask, under which a file made with the default mode is readable by everyone.
class UsualMask {
public:
    UsualMask() : old_(::umask(022)) {}
    ~UsualMask() { ::umask(old_); }

private:
    mode_t old_;
};

struct ModeCase {
    const char* name;
    std::optional<mode_t> existing;
    mode_t saved;
};

void PrintTo(const ModeCase& c, std::ostream* out) { *out << c.name; }

class SavedFileMode : public testing::TestWithParam<ModeCase> {};

} // namespace

TEST_P(SavedFileMode, IsNeverLooserThanTheOwnersAlone) {
    const UsualMask mask;
    const QString path = TestSupport::freshFolder() + QStringLiteral("/usageStats.json");
    if (const auto existing = GetParam().existing) {
        TestSupport::writeAll(path, "old");
        ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), *existing), 0);
    }
    ASSERT_EQ(FileIO::writeAtomically(path, "new"), std::nullopt);
    EXPECT_EQ(TestSupport::modeOf(path), GetParam().saved);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SavedFileMode,
    testing::Values(ModeCase{"New", std::nullopt, 0600}, ModeCase{"ReadableByAll", 0644, 0600},
                    ModeCase{"WritableByTheGroup", 0660, 0600}, ModeCase{"OwnersAlone", 0600, 0600},
                    ModeCase{"StricterStill", 0200, 0200}),
    [](const testing::TestParamInfo<ModeCase>& info) { return std::string(info.param.name); });

TEST(PrivateFolder, MissingFoldersAreMadeForTheOwnerAloneAndFoldersThereAreLeftAlone) {
    const UsualMask mask;
    const QString root = TestSupport::freshFolder();
    ASSERT_EQ(::chmod(QFile::encodeName(root).constData(), 0755), 0);
    ASSERT_EQ(FileIO::writeAtomically(root + QStringLiteral("/share/Kestavon/keyBindings.json"), "{}"), std::nullopt);
    EXPECT_EQ(TestSupport::modeOf(root + QStringLiteral("/share")), 0700u);
    EXPECT_EQ(TestSupport::modeOf(root + QStringLiteral("/share/Kestavon")), 0700u);
    EXPECT_EQ(TestSupport::modeOf(root), 0755u);
}
