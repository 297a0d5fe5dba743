#include "Support/JsonWriter.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

TEST(JsonWriter, WritesMembersInTheOrderGivenWithNoSpaces) {
    JsonWriter json;
    json.beginArray()
        .beginObject()
        .key(u"z").value(std::int64_t{1})
        .key(u"a").beginArray().value(true).value(false).null().endArray()
        .key(u"m").beginObject().endObject()
        .endObject()
        .value(u"x")
        .endArray();
    EXPECT_EQ(json.bytes().toStdString(), R"([{"z":1,"a":[true,false,null],"m":{}},"x"])");
}

TEST(JsonWriter, EscapesSlashesQuotesAndControlCharacters) {
    JsonWriter json;
    json.value(QStringLiteral("/usr/share/a\"b\\c\n\t\x01"));
    EXPECT_EQ(json.bytes().toStdString(), R"("\/usr\/share\/a\"b\\c\n\t\u0001")");
}

TEST(JsonWriter, KeepsNonAsciiTextAsUtf8AndItReadsBack) {
    const QString text = QStringLiteral("终端 — Café 🎹");
    JsonWriter json;
    json.beginArray().value(text).endArray();
    EXPECT_TRUE(json.bytes().contains(text.toUtf8()));
    EXPECT_EQ(QJsonDocument::fromJson(json.bytes()).array().at(0).toString(), text);
}

TEST(JsonWriter, NumbersAtTheirLimitsAndDoublesInShortestForm) {
    JsonWriter json;
    json.beginArray()
        .value(std::numeric_limits<std::int64_t>::min())
        .value(std::numeric_limits<std::uint64_t>::max())
        .value(100.0)
        .value(-0.5)
        .value(0.1)
        .value(std::numeric_limits<double>::quiet_NaN())
        .endArray();
    EXPECT_EQ(json.bytes().toStdString(), "[-9223372036854775808,18446744073709551615,100,-0.5,0.1,null]");
}
