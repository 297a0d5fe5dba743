#include "Platform/Linux/VersionComparator.h"

#include <gtest/gtest.h>

namespace {

struct Ordered {
    const char* older;
    const char* newer;
};

} // namespace

TEST(VersionComparator, OrdersReleasesAsNumberedNotAsText) {
    const Ordered table[] = {
        {"1.9", "1.10"},
        {"2", "10"},
        {"1.0", "1.0.1"},
        {"1.0b2", "1.0"},
        {"1.0b2", "1.0b10"},
        {"1.0beta3", "1.0rc1"},
        {"1.0b", "1.0.1"},
        {"", "1"},
        {"0.9", "1"},
        {"99999999999999999999", "100000000000000000000"},
        {"1.2 (build 7)", "1.2 (build 8)"},
    };
    for (const Ordered& row : table) {
        EXPECT_LT(VersionComparator::compare(row.older, row.newer), 0) << row.older << " < " << row.newer;
        EXPECT_GT(VersionComparator::compare(row.newer, row.older), 0) << row.newer << " > " << row.older;
    }
}

TEST(VersionComparator, SpellingsOfTheSameVersionAreEqual) {
    const Ordered same[] = {{"1.0", "1.0.0"},   {"2", "2.0.0.0"}, {"v1.2", "1.2"}, {"01.002", "1.2"},
                            {"1.0B1", "1.0b1"}, {" 3.1 ", "3.1"}, {"", ""}};
    for (const Ordered& row : same)
        EXPECT_EQ(VersionComparator::compare(row.older, row.newer), 0) << row.older << " == " << row.newer;
}
