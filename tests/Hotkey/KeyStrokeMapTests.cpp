#include "Platform/KeyStrokeMap.h"
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

TEST(KeyStrokeMap, LayoutOrderHas47DistinctKeysInRowsOf13_13_11_10AndEveryLookupAgrees) {
    const QStringList& order = KeyStrokeMap::layoutOrder();
    ASSERT_EQ(order.size(), 47);
    EXPECT_EQ(QSet<QString>(order.begin(), order.end()).size(), 47);
    int perRow[4] = {};
    for (const QString& id : order) ++perRow[id.at(0).digitValue()];
    EXPECT_EQ(QList<int>(std::begin(perRow), std::end(perRow)), QList<int>({13, 13, 11, 10}));
    int position = 0;
    for (const auto& key : KeyStrokeMap::table()) {
        const auto id = KeyStrokeMap::keyID(key.code);
        ASSERT_TRUE(id.has_value());
        EXPECT_EQ(order.at(position), *id);
        EXPECT_EQ(KeyStrokeMap::rankByKeyID().value(*id, -1), position);
        EXPECT_EQ(KeyStrokeMap::rank(id->toStdString()), position);
        ++position;
    }
}

// The monitor's tests cover which modifiers make a stroke; this is what they leave held.
TEST(ModifierState, AStrokeRefusedForAnotherModifierKeepsRightCommandHeldUntilReleased) {
    ModifierState state;
    state.handleFlagsChanged(CommandKey::right, EventFlag::command);
    EXPECT_FALSE(state.handleKeyDown(EventFlag::command | EventFlag::option));
    state.handleFlagsChanged(56, EventFlag::shift); // Shift changes nothing
    EXPECT_TRUE(state.handleKeyDown(EventFlag::command));
    state.handleFlagsChanged(CommandKey::right, 0);
    EXPECT_FALSE(state.rightCommandDown);
    EXPECT_FALSE(state.handleKeyDown(EventFlag::command));
}

TEST(ModifierState, WhereTheFlagsTellTheCommandKeysApartLettingOneGoKeepsTheOtherHeld) {
    constexpr std::uint64_t right = EventFlag::command | EventFlag::rightCommandKey;
    constexpr std::uint64_t both = right | EventFlag::leftCommandKey;
    ModifierState state;
    state.handleFlagsChanged(CommandKey::right, right);
    state.handleFlagsChanged(CommandKey::left, both);
    EXPECT_FALSE(state.handleKeyDown(both));
    state.handleFlagsChanged(CommandKey::left, right);
    EXPECT_EQ(state, (ModifierState{false, true}));
    EXPECT_TRUE(state.handleKeyDown(right));

    // Without the key bits the Command bit is all there is: the left key counts as held.
    state.handleFlagsChanged(CommandKey::left, EventFlag::command);
    EXPECT_TRUE(state.leftCommandDown);
}
