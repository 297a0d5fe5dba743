#include "BindingsTestSupport.h"

#include "Platform/KeyStrokeMap.h"
#include "Keyboard/BindingsFileReader.h"
#include "Keyboard/KeyBindingStore.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace BindingsTestSupport;

namespace {

QByteArray element(const QByteArray& key, const QByteArray& bundleId, const QByteArray& name) {
    return R"({"key":")" + key + R"(","entry":{"bundleId":")" + bundleId + R"(","path":"\/apps\/)" +
           bundleId + R"(.desktop","name":")" + name + R"("}})";
}

const QByteArray goodFile =
    "[" + element("1-q", "org.gnome.Terminal", "Terminal") + "," + element("2-a", "firefox", "Firefox") + "]";

// ---- files that cannot be decoded: no bindings, and one log line saying why

struct BadFile {
    const char* name;
    QByteArray bytes;
    const char* description; // part of the description in the log line
};

void PrintTo(const BadFile& file, std::ostream* out) {
    *out << file.name;
}

class UndecodableFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(UndecodableFile, YieldsNoBindingsAndOneLogLine) {
    const QString path = fileWith(GetParam().bytes);
    const LogWatch log;
    EXPECT_TRUE(KeyBindingStore::snapshot(path).isEmpty());
    const QStringList lines = log.messagesStartingWith(undecodable);
    ASSERT_EQ(lines.size(), 1) << log.messages().join(u'\n').toStdString();
    EXPECT_TRUE(lines[0].contains(QLatin1String(GetParam().description))) << lines[0].toStdString();
    EXPECT_EQ(log.messages().size(), 1);

    const KeyBindingStore::Lookup found = KeyBindingStore::lookup(path, u"1-q");
    EXPECT_FALSE(found.entry.has_value());
    EXPECT_EQ(found.count, 0);
}

const BadFile badFiles[] = {
    {"ZeroBytes", "", "unexpected end of data at offset 0"},
    {"OnlySpace", " \n", "unexpected end of data at offset 2"},
    {"TopLevelObject", R"({"key":"1-q"})", "the top-level value is an object, expected an array"},
    {"TopLevelString", R"("1-q")", "the top-level value is a string"},
    {"MissingName",
     "[" + element("1-q", "a", "A") + R"(,{"key":"2-a","entry":{"bundleId":"b","path":"\/b"}}])",
     "element 1: missing member \"name\" in \"entry\""},
    {"MissingKey", R"([{"entry":{"bundleId":"b","path":"p","name":"n"}}])",
     "element 0: missing member \"key\""},
    {"MissingEntry", R"([{"key":"1-q"}])", "element 0: missing member \"entry\""},
    {"KeyIsNumber", R"([{"key":5,"entry":{"bundleId":"b","path":"p","name":"n"}}])",
     "element 0: member \"key\" is a number, expected a string"},
    {"EntryIsString", R"([{"key":"1-q","entry":"firefox"}])",
     "member \"entry\" is a string, expected an object"},
    {"NameIsNull", R"([{"key":"1-q","entry":{"bundleId":"b","path":"p","name":null}}])",
     "member \"name\" in \"entry\" is null, expected a string"},
    {"ElementIsArray", R"([["1-q"]])", "element 0: an array, expected an object"},
    {"LastDuplicateHasWrongType",
     R"([{"key":"1-q","key":true,"entry":{"bundleId":"b","path":"p","name":"n"}}])",
     "member \"key\" is a boolean"},
    {"BadElementAmongUnknownKeys", "[" + element("9-z", "a", "A") + R"(,{"key":"9-y"}])", "element 1"},
    {"InvalidUtf8", "[" + element("1-q", "a", "Caf\xC3\x28") + "]", "invalid UTF-8 at offset"},
    {"OverlongUtf8", "[" + element("1-q", "a", "\xC0\xAF") + "]", "invalid UTF-8"},
    {"EncodedSurrogate", "[" + element("1-q", "a", "\xED\xA0\x80") + "]", "invalid UTF-8"},
    {"BeyondUnicode", "[" + element("1-q", "a", "\xF4\x90\x80\x80") + "]", "invalid UTF-8"},
    {"Utf8CutShort", "[" + element("1-q", "a", "\xE6\x96") + "]", "invalid UTF-8"},
    {"LoneHighSurrogate", "[" + element("1-q", "a", R"(x\ud83dy)") + "]", "lone surrogate"},
    {"HighThenNotLow", "[" + element("1-q", "a", R"(\ud83d\u0041)") + "]", "lone surrogate"},
    {"LoneLowSurrogate", "[" + element("1-q", "a", R"(\ude00)") + "]", "lone surrogate"},
    {"BadEscape", "[" + element("1-q", "a", R"(\x41)") + "]", "invalid escape"},
    {"BadHexEscape", "[" + element("1-q", "a", R"(\u00g1)") + "]", "invalid \\u escape"},
    {"RawControlCharacter", "[" + element("1-q", "a", "tab\there") + "]", "control character in a string"},
    {"TrailingGarbage", goodFile + "x", "unexpected data after the top-level value"},
    {"TwoDocuments", "[][]", "unexpected data after the top-level value at offset 2"},
    {"TrailingComma", "[" + element("1-q", "a", "A") + ",]", "unexpected character ']'"},
    {"MissingComma", "[" + element("1-q", "a", "A") + element("2-a", "b", "B") + "]",
     "unexpected character '{'"},
    {"SingleQuotes", "[{'key':'1-q'}]", "unexpected character '''"},
    {"LeadingZeroInIgnoredMember", R"([{"extra":01,"key":"1-q"}])", "unexpected character '1'"},
    {"BareMinusInIgnoredMember", R"([{"extra":-})", "unexpected character '}'"},
    {"FractionWithoutDigits", R"([{"extra":1.e5}])", "unexpected character 'e'"},
    {"ExponentWithoutDigits", R"([{"extra":1e+}])", "unexpected character '}'"},
    {"MisspelledLiteral", R"([{"extra":nul}])", "unexpected character '}'"},
    {"NonAsciiOutsideStrings", "[\xC2\xA0]", "unexpected byte 0xc2 at offset 1"},
    {"HostileNesting", "[{\"extra\":" + QByteArray(600, '[') + QByteArray(600, ']') + "}]",
     "nesting too deep"},
};

INSTANTIATE_TEST_SUITE_P(BindingsFile, UndecodableFile, ::testing::ValuesIn(badFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BindingsFileReading, MissingUnreadableOrEmptyArrayFileIsEmptyWithoutALogLine) {
    const QString folder = TestSupport::freshFolder();
    const LogWatch log;
    EXPECT_TRUE(KeyBindingStore::snapshot(folder + "/keyBindings.json").isEmpty());
    EXPECT_TRUE(KeyBindingStore::snapshot(folder).isEmpty()); // a folder is not a file
    EXPECT_EQ(KeyBindingStore::lookup(folder + "/keyBindings.json", u"1-q").count, 0);
    EXPECT_TRUE(KeyBindingStore::snapshot(fileWith(" \t[ \r\n] \n")).isEmpty());
    EXPECT_TRUE(log.messages().isEmpty());
}

TEST(BindingsFileReading, IgnoresExtraMembersWhiteSpaceOrderAndAByteOrderMark) {
    const QByteArray text =
        "\xEF\xBB\xBF [\n {\n  \"entry\" : {\"name\": \"Terminal\", \"icon\": {\"size\": [16, 32.5e-1, -0]},"
        " \"path\": \"/usr/bin/t\", \"bundleId\": \"org.gnome.Terminal\", \"flags\": [true, false, null]},\n"
        "  \"note\": \"\\\"quoted\\\"\", \"key\": \"1-q\", \"rank\": -12.5E+3\n }\n]\n";
    const LogWatch log;
    const auto bindings = KeyBindingStore::snapshot(fileWith(text));
    EXPECT_EQ(bindings,
              (KeyBindingStore::Bindings{{"1-q", {"org.gnome.Terminal", "/usr/bin/t", "Terminal"}}}));
    EXPECT_TRUE(log.messages().isEmpty());
}

TEST(BindingsFileReading, ResolvesEscapesAndKeepsUnicode) {
    const QByteArray text =
        R"([{"key":"2-a","entry":{"bundleId":"a\u002Eb","path":"\/opt\/\u00e9\ud83d\ude00",)"
        R"("name":"\"Tab\"\t\\ \b\f\n\r Caf)"
        "\xC3\xA9 \xE6\x96\x87 \xF0\x9F\x98\x80"
        R"("}}])";
    const auto bindings = KeyBindingStore::snapshot(fileWith(text));
    ASSERT_TRUE(bindings.contains("2-a"));
    EXPECT_EQ(bindings["2-a"].bundleId, "a.b");
    EXPECT_EQ(bindings["2-a"].path, QString::fromUtf8("/opt/\xC3\xA9\xF0\x9F\x98\x80"));
    EXPECT_EQ(bindings["2-a"].name,
              QString::fromUtf8("\"Tab\"\t\\ \b\f\n\r Caf\xC3\xA9 \xE6\x96\x87 \xF0\x9F\x98\x80"));
}

TEST(BindingsFileReading, KeepsAByteOrderMarkThatStartsAString) {
    // Only a mark before the document is skipped; inside a string it is text like any other.
    const auto bindings =
        KeyBindingStore::snapshot(fileWith("\xEF\xBB\xBF[" + element("1-q", "\xEF\xBB\xBFid", "N") + "]"));
    EXPECT_EQ(bindings.value("1-q").bundleId, QChar(0xFEFF) + QStringLiteral("id"));
}

TEST(BindingsFileReading, DropsUnknownKeysSilentlyAndTheFirstOfARepeatedKeyWins) {
    const QByteArray text = "[" + element("1-q", "q", "Q") + "," + element("9-z", "z", "Z") + "," +
                            element("1-Q", "upper", "Upper") + "," + element("2-a", "first", "First") + "," +
                            element("2-a", "second", "Second") + "," + element("", "e", "E") + "]";
    const LogWatch log;
    const auto bindings = KeyBindingStore::snapshot(fileWith(text));
    EXPECT_EQ(bindings.keys().size(), 2);
    EXPECT_EQ(bindings.value("1-q").bundleId, "q");
    EXPECT_EQ(bindings.value("2-a").bundleId, "first");
    EXPECT_TRUE(log.messages().isEmpty());
    EXPECT_EQ(KeyBindingStore::lookup(fileWith(text), u"2-a").entry->bundleId, "first");
}

TEST(BindingsFileReading, RecognisesKeysWrittenWithEscapes) {
    const QByteArray text = "[" + element(R"(3-\/)", "slash", "S") + "," + element(R"(\u0031-q)", "q", "Q") +
                            "," + element(R"(1-\\)", "backslash", "B") + "," +
                            element(R"(0-\u0060)", "grave", "G") + "," +
                            element(R"(2-\")", "quote", "not a key") + "]";
    const auto bindings = KeyBindingStore::snapshot(fileWith(text));
    EXPECT_EQ(bindings.size(), 4);
    EXPECT_EQ(bindings.value("3-/").bundleId, "slash");
    EXPECT_EQ(bindings.value("1-q").bundleId, "q");
    EXPECT_EQ(bindings.value("1-\\").bundleId, "backslash");
    EXPECT_EQ(bindings.value("0-`").bundleId, "grave");
}

TEST(BindingsFileReading, RepeatedMemberNamesKeepTheLastOne) {
    const QByteArray text =
        R"([{"key":"2-a","entry":{"bundleId":"b","path":"p"},"entry":{"bundleId":"x","path":"old",)"
        R"("path":"new","name":"N"},"k\u0065y":"1-q"}])";
    const auto bindings = KeyBindingStore::snapshot(fileWith(text));
    EXPECT_EQ(bindings, (KeyBindingStore::Bindings{{"1-q", {"x", "new", "N"}}}));
}

TEST(BindingsFileReading, AcceptsAFileOfExactlyTheLimit) {
    QByteArray text = goodFile;
    text.append(QByteArray(KeyBindingStore::maxFileBytes - text.size(), ' '));
    EXPECT_EQ(KeyBindingStore::snapshot(fileWith(text)).size(), 2);
}

TEST(BindingsFileReading, EveryProperPrefixOfAGoodFileIsRejected) {
    const QByteArray text =
        "[" + element("1-q", "a\\u00e9", "Caf\xC3\xA9 \xF0\x9F\x98\x80") +
        R"(,{"x":[1.5e3,true,null,{"y":"\ud83d\ude00"}],"key":"2-a","entry":{"bundleId":"b",)"
        R"("path":"p","name":"n"}}])";
    ASSERT_FALSE(BindingsFileReader::parse(text).error.has_value());
    for (qsizetype length = 0; length < text.size(); ++length) {
        const auto result = BindingsFileReader::parse(QByteArrayView(text).first(length));
        EXPECT_TRUE(result.error.has_value()) << "prefix of " << length << " bytes";
        EXPECT_EQ(result.document.count(), 0);
    }
}

TEST(BindingsFileReading, LookupAgreesWithSnapshot) {
    const QByteArray files[] = {
        goodFile,
        "[]",
        "[" + element("2-a", "first", "F") + "," + element("2-a", "second", "S") + "," +
            element("3-\\/", "s", "S") + "]",
        "[" + element("1-Q", "upper", "U") + "," + element("9-z", "z", "Z") + "]",
        R"([{"key":"0-\u0060","entry":{"name":"\u00e9","path":"\/x","bundleId":"g"},"extra":[{}]}])",
        "[" + element("1-q", "a", "A") + R"(,{"key":"2-a"}])",
        "",
    };
    QStringList keys = KeyStrokeMap::layoutOrder();
    keys << "9-z"
         << "1-Q"
         << ""
         << "1-qq";
    for (const QByteArray& text : files) {
        const QString path = fileWith(text);
        const auto bindings = KeyBindingStore::snapshot(path);
        for (const QString& key : keys) {
            const auto found = KeyBindingStore::lookup(path, key);
            EXPECT_EQ(found.count, bindings.size()) << text.toStdString();
            EXPECT_EQ(found.entry, bindings.contains(key) ? std::optional(bindings[key]) : std::nullopt)
                << text.toStdString() << " key " << key.toStdString();
        }
    }
}

TEST(BindingsFileReading, ReadsBackWhatIsWritten) {
    const KeyBindingStore::Bindings bindings{
        {"0-`", {"org.gnome.Terminal", "/usr/share/applications/org.gnome.Terminal.desktop", "Terminal"}},
        {"1-\\", {"a\"b", "C:\\odd\\path", "Tab\tNew\nLine\x01"}},
        {"3-/",
         {QString::fromUtf8("caf\xC3\xA9"), "/tmp/\xF0\x9F\x98\x80",
          QString::fromUtf8("\xE6\x96\x87\xE5\xAD\x97")}},
        {"2-a", {"", "", ""}},
    };
    EXPECT_EQ(KeyBindingStore::snapshot(fileWith(KeyBindingStore::encode(bindings))), bindings);
}

} // namespace
