#include "Hotkey/KeyStrokeMap.h"
#include "Hotkey/ModifierState.h"
#include "Platform/TapEvent.h"

#include <QSet>

#include <gtest/gtest.h>

TEST(KeyStrokeMap, MapsKeyCodesToIdentifiersOfTheirPositions) {
    EXPECT_EQ(KeyStrokeMap::keyID(12), QStringLiteral("1-q"));
    EXPECT_EQ(KeyStrokeMap::keyID(50), QStringLiteral("0-`"));
    EXPECT_EQ(KeyStrokeMap::keyID(42), QStringLiteral("1-\\"));
    EXPECT_EQ(KeyStrokeMap::keyID(0), QStringLiteral("2-a"));
    EXPECT_EQ(KeyStrokeMap::keyID(44), QStringLiteral("3-/"));
    // Space, Return, the Command keys, keypad and out-of-range codes are not bindable.
    for (std::int64_t code : {49, 36, 54, 55, 10, 65, 48, -1, 1000})
        EXPECT_EQ(KeyStrokeMap::keyID(code), std::nullopt) << code;
}

TEST(KeyStrokeMap, LayoutOrderHas47DistinctKeysInRowsOf13_13_11_10) {
    const QStringList& order = KeyStrokeMap::layoutOrder();
    ASSERT_EQ(order.size(), 47);
    EXPECT_EQ(QSet<QString>(order.begin(), order.end()).size(), 47);
    int perRow[4] = {};
    for (const QString& id : order) ++perRow[id.at(0).digitValue()];
    EXPECT_EQ(perRow[0], 13);
    EXPECT_EQ(perRow[1], 13);
    EXPECT_EQ(perRow[2], 11);
    EXPECT_EQ(perRow[3], 10);
    EXPECT_EQ(order.first(), QStringLiteral("0-`"));
    EXPECT_EQ(order.at(13), QStringLiteral("1-q"));
}

TEST(KeyStrokeMap, BothDirectionsAgreeForEveryKey) {
    const auto& rank = KeyStrokeMap::rankByKeyID();
    EXPECT_EQ(rank.value(QStringLiteral("0-`")), 0);
    EXPECT_EQ(rank.value(QStringLiteral("3-/")), 46);
    int position = 0;
    for (const auto& key : KeyStrokeMap::table()) {
        const auto id = KeyStrokeMap::keyID(key.code);
        ASSERT_TRUE(id.has_value());
        EXPECT_EQ(rank.value(*id, -1), position);
        EXPECT_EQ(KeyStrokeMap::rank(id->toStdString()), position);
        ++position;
    }
}

TEST(KeyStrokeMap, ByteLookupRejectsEverythingElse) {
    for (const char* id : {"1-Q", "9-z", "4-x", "1q", "1-qq", "", "-1-q", "0-\xc3", "1_q"})
        EXPECT_EQ(KeyStrokeMap::rank(id), -1) << id;
}

namespace {
ModifierState rightHeld() {
    ModifierState state;
    state.handleFlagsChanged(CommandKey::right, EventFlag::command);
    return state;
}
} // namespace

TEST(ModifierState, RightCommandAloneIsAStroke) {
    ModifierState state = rightHeld();
    EXPECT_TRUE(state.handleKeyDown(EventFlag::command));
    EXPECT_TRUE(state.handleKeyDown(EventFlag::command | EventFlag::capsLock));
}

TEST(ModifierState, AnyOtherModifierOrTheLeftCommandKeyIsNot) {
    for (std::uint64_t extra : {EventFlag::shift, EventFlag::option, EventFlag::control}) {
        ModifierState state = rightHeld();
        EXPECT_FALSE(state.handleKeyDown(EventFlag::command | extra)) << extra;
        EXPECT_TRUE(state.rightCommandDown);  // still held: a later plain stroke works
    }
    ModifierState both = rightHeld();
    both.handleFlagsChanged(CommandKey::left, EventFlag::command);
    EXPECT_FALSE(both.handleKeyDown(EventFlag::command));

    ModifierState leftOnly;
    leftOnly.handleFlagsChanged(CommandKey::left, EventFlag::command);
    EXPECT_FALSE(leftOnly.handleKeyDown(EventFlag::command));
}

TEST(ModifierState, KeyDownWithoutCommandClearsBothKeys) {
    ModifierState state = rightHeld();
    state.handleFlagsChanged(CommandKey::left, EventFlag::command);
    EXPECT_FALSE(state.handleKeyDown(0));
    EXPECT_EQ(state, ModifierState{});
    // The right key must be pressed again before strokes count.
    EXPECT_FALSE(state.handleKeyDown(EventFlag::command));
}

TEST(ModifierState, ReleasesAndOtherModifierKeysAreTracked) {
    ModifierState state = rightHeld();
    state.handleFlagsChanged(56, EventFlag::shift);  // Shift changes nothing
    EXPECT_TRUE(state.rightCommandDown);
    state.handleFlagsChanged(CommandKey::right, 0);
    EXPECT_FALSE(state.rightCommandDown);
    EXPECT_FALSE(state.handleKeyDown(EventFlag::command));
}

TEST(ModifierState, CommandStateTextForTheLog) {
    EXPECT_EQ(rightHeld().commandState(), QStringLiteral("rightCmd=true leftCmd=false"));
    EXPECT_EQ(ModifierState{}.commandState(), QStringLiteral("rightCmd=false leftCmd=false"));
}
