// The conversion of property-list trees, over a fake value tree in place of Core Foundation's.
#include "FakeMacSystem.h"

#include "Platform/MacOS/PropertyListConversion.h"
#include "Platform/MacOS/WindowEnumerator.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

struct Node {
    PropertyListKind kind = PropertyListKind::other;
    QVariant scalar;
    std::vector<Node> elements;
    std::vector<std::pair<Node, Node>> entries;
};

struct NodeAccess {
    using Value = const Node*;
    PropertyListKind kind(Value v) const { return v->kind; }
    QString string(Value v) const { return v->scalar.toString(); }
    std::int64_t integer(Value v) const { return v->scalar.toLongLong(); }
    double floating(Value v) const { return v->scalar.toDouble(); }
    bool boolean(Value v) const { return v->scalar.toBool(); }
    qsizetype count(Value v) const { return static_cast<qsizetype>(v->elements.size()); }
    Value element(Value v, qsizetype i) const { return &v->elements[static_cast<std::size_t>(i)]; }
    template <class F> void forEachEntry(Value v, F&& f) const {
        for (const auto& [key, value] : v->entries) f(&key, &value);
    }
    // Stands for what the system holds beyond property lists (an element, a point).
    QVariant other(Value v) const { return v->scalar; }
};

Node text(const char* s) { return {PropertyListKind::string, QString::fromUtf8(s), {}, {}}; }
Node integer(qlonglong n) { return {PropertyListKind::integer, n, {}, {}}; }
Node floating(double d) { return {PropertyListKind::floating, d, {}, {}}; }
Node dictionary(std::vector<std::pair<Node, Node>> entries) { return {PropertyListKind::dictionary, {}, {}, std::move(entries)}; }

QVariant convert(const Node& node) { return PropertyList::toVariant(NodeAccess{}, &node); }

} // namespace

TEST(PropertyList, ScalarsKeepTheirKindAndTheLargestIntegers) {
    EXPECT_EQ(convert(text("Safari")), QVariant(QStringLiteral("Safari")));
    EXPECT_EQ(convert(integer(INT64_MAX)).typeId(), QMetaType::LongLong);
    EXPECT_EQ(convert(integer(INT64_MAX)).toLongLong(), INT64_MAX);
    EXPECT_EQ(convert(floating(0.5)), QVariant(0.5));
    EXPECT_EQ(convert({PropertyListKind::boolean, true, {}, {}}), QVariant(true));
    EXPECT_EQ(convert({PropertyListKind::other, QVariant(7u), {}, {}}), QVariant(7u)) << "the access's own values";
}

TEST(PropertyList, AWindowListEntryReadsAsAWindow) {
    const Node bounds = dictionary({{text("X"), floating(10)}, {text("Y"), floating(20)},
                                    {text("Width"), floating(300)}, {text("Height"), floating(200)}});
    const Node list{PropertyListKind::array, {}, {dictionary({{text("kCGWindowNumber"), integer(42)},
        {text("kCGWindowOwnerPID"), integer(501)}, {text("kCGWindowLayer"), integer(0)},
        {text("kCGWindowAlpha"), floating(1)}, {text("kCGWindowBounds"), bounds}})}, {}};
    FakeMacSystem system;
    system.windowList = convert(list).toList();
    const auto windows = WindowEnumerator::enumerate(system);
    ASSERT_TRUE(windows && windows->size() == 1u);
    EXPECT_EQ(windows->front().number, 42u);
    EXPECT_EQ(windows->front().bounds, QRectF(10, 20, 300, 200));
}

TEST(PropertyList, WhatCannotBeReadBecomesNullAndOnlyThere) {
    const Node numberKey = dictionary({{integer(1), text("one")}, {text("two"), integer(2)}});
    const Node list{PropertyListKind::array, {}, {numberKey, text("kept"), {PropertyListKind::other, {}, {}, {}}}, {}};
    const QVariantList converted = convert(list).toList();
    ASSERT_EQ(converted.size(), 3);
    EXPECT_FALSE(converted[0].isValid()) << "a dictionary with a key that is not a string";
    EXPECT_EQ(converted[1], QVariant(QStringLiteral("kept")));
    EXPECT_FALSE(converted[2].isValid());

    Node deep = text("bottom");
    for (int i = 0; i <= PropertyList::maxDepth; ++i) deep = Node{PropertyListKind::array, {}, {deep}, {}};
    QVariant bottom = convert(deep);
    while (bottom.typeId() == QMetaType::QVariantList) bottom = bottom.toList().value(0);
    EXPECT_FALSE(bottom.isValid()) << "nested beyond the depth any answer has";
}
