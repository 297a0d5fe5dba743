#include "BindingsTestSupport.h"

#include "Keyboard/KeyBindingStore.h"
#include "Platform/KeyStrokeMap.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace BindingsTestSupport;
using Bindings = KeyBindingStore::Bindings;

namespace {

QByteArray element(const QByteArray& key, const QByteArray& bundleId, const QByteArray& name) {
    return R"({"key":")" + key + R"(","entry":{"bundleId":")" + bundleId + R"(","path":"\/apps\/)" +
           bundleId + R"(.desktop","name":")" + name + R"("}})";
}

// One binding whose application name is `name`, as written.
QByteArray named(const QByteArray& name) {
    return "[" + element("1-q", "a", name) + "]";
}

// The entry element() writes.
AppEntry entry(const char* bundleId, const char* name) {
    return {QString::fromUtf8(bundleId), QStringLiteral("/apps/%1.desktop").arg(QString::fromUtf8(bundleId)),
            QString::fromUtf8(name)};
}

const QByteArray goodFile =
    "[" + element("1-q", "org.gnome.Terminal", "Terminal") + "," + element("2-a", "firefox", "Firefox") + "]";

// ---- files that decode: what they bind, without a log line, and the hotkey path's look-up of
// a single key agrees with the editor's reading of the whole file. Escapes, byte order marks,
// white space, unknown members and keys are the fuzzer's seeds, which it checks against Qt's reader.

struct GoodFile {
    const char* name;
    QByteArray bytes;
    Bindings bindings;
};

const GoodFile goodFiles[] = {
    {"EmptyArrayInWhiteSpace", " \t[ \r\n] \n", {}},
    {"AtTheSizeLimit",
     goodFile + QByteArray(KeyBindingStore::maxFileBytes - goodFile.size(), ' '),
     {{"1-q", entry("org.gnome.Terminal", "Terminal")}, {"2-a", entry("firefox", "Firefox")}}},
};

TEST(BindingsFileReading, DecodableFilesBindWhatTheySaySilentlyAndLookupAgrees) {
    for (const GoodFile& file : goodFiles) {
        SCOPED_TRACE(file.name);
        const QString path = fileWith(file.bytes);
        const LogWatch log;
        EXPECT_EQ(KeyBindingStore::snapshot(path), file.bindings);
        for (const QString& key : KeyStrokeMap::layoutOrder() + QStringList{"9-z", "1-Q", "", "1-qq"}) {
            const KeyBindingStore::Lookup found = KeyBindingStore::lookup(path, key);
            EXPECT_EQ(found.count, file.bindings.size());
            EXPECT_EQ(found.entry,
                      file.bindings.contains(key) ? std::optional(file.bindings[key]) : std::nullopt)
                << key.toStdString();
        }
        EXPECT_TRUE(log.messages().isEmpty()) << log.messages().join(u'\n').toStdString();
    }
}

// Strings are scanned sixteen bytes at a time: escapes, non-ASCII text and bad bytes land on
// every place in a block, its last byte included, and each still reads as itself.
TEST(BindingsFileReading, EscapesAndBadBytesAnywhereInABlock) {
    for (int offset = 0; offset < 20; ++offset) {
        SCOPED_TRACE(offset);
        const QByteArray lead(offset, 'x');
        const QString path = fileWith(named(lead + R"(\/\"\\\/caf\u00e9 \u00e9té\/)"));
        const auto found = KeyBindingStore::lookup(path, u"1-q").entry;
        EXPECT_EQ(found ? found->name : QString(),
                  QString::fromLatin1(lead) + QString::fromUtf8("/\"\\/caf\u00e9 \u00e9t\u00e9/"));
        const LogWatch log;
        EXPECT_EQ(KeyBindingStore::snapshot(fileWith(named(lead + "a\tb\\/"))), Bindings());
        EXPECT_EQ(KeyBindingStore::snapshot(fileWith(named(lead + R"(\/\q)"))), Bindings());
        EXPECT_EQ(log.messages().size(), 2);
    }
}

// ---- files that cannot be decoded: no bindings, and one log line saying why. The bindings
// fuzzer checks that ours refuses whatever Qt's reader refuses; here are the reasons it gives.

struct BadFile {
    const char* name;
    QByteArray bytes;
    const char* description; // part of the description in the log line
};

const QByteArray entryBN = R"("entry":{"bundleId":"b","path":"p","name":"n"})";

const BadFile badFiles[] = {
    {"ZeroBytes", "", "unexpected end of data at offset 0"},
    {"OnlySpace", " \n", "unexpected end of data at offset 2"},
    {"TopLevelObject", R"({"key":"1-q"})", "the top-level value is an object, expected an array"},
    {"TopLevelString", R"("1-q")", "the top-level value is a string"},
    {"MissingName", R"([{"key":"2-a","entry":{"bundleId":"b","path":"p"}}])", "missing member \"name\" in"},
    {"MissingKey", "[{" + entryBN + "}]", "element 0: missing member \"key\""},
    {"MissingEntry", R"([{"key":"1-q"}])", "element 0: missing member \"entry\""},
    {"KeyIsNumber", R"([{"key":5,)" + entryBN + "}]", "member \"key\" is a number, expected a string"},
    {"EntryIsString", R"([{"key":"1-q","entry":"firefox"}])", "\"entry\" is a string, expected an object"},
    {"NameIsNull", R"([{"key":"1-q","entry":{"bundleId":"b","path":"p","name":null}}])",
     "member \"name\" in \"entry\" is null, expected a string"},
    {"ElementIsArray", R"([["1-q"]])", "element 0: an array, expected an object"},
    {"LastDuplicateHasWrongType", R"([{"key":"1-q","key":true,)" + entryBN + "}]", "\"key\" is a boolean"},
    {"BadElementAmongUnknownKeys", "[" + element("9-z", "a", "A") + R"(,{"key":"9-y"}])", "element 1"},
    {"InvalidUtf8", named("Caf\xC3\x28"), "invalid UTF-8 at offset"},
    {"EncodedSurrogate", named("\xED\xA0\x80"), "invalid UTF-8"},
    {"LoneHighSurrogate", named(R"(x\ud83dy)"), "lone surrogate"},
    {"HighThenNotLow", named(R"(\ud83d\u0041)"), "lone surrogate"},
    {"LoneLowSurrogate", named(R"(\ude00)"), "lone surrogate"},
    {"BadEscape", named(R"(\x41)"), "invalid escape"},
    {"BadHexEscape", named(R"(\u00g1)"), "invalid \\u escape"},
    {"RawControlCharacter", named("tab\there"), "control character in a string"},
    {"TwoDocuments", "[][]", "unexpected data after the top-level value at offset 2"},
    {"TrailingComma", "[" + element("1-q", "a", "A") + ",]", "unexpected character ']'"},
    {"LeadingZeroInIgnoredMember", R"([{"extra":01,"key":"1-q"}])", "unexpected character '1'"},
    {"FractionWithoutDigits", R"([{"extra":1.e5}])", "unexpected character 'e'"},
    {"NonAsciiOutsideStrings", "[\xC2\xA0]", "unexpected byte 0xc2 at offset 1"},
    {"HostileNesting", "[{\"extra\":" + QByteArray(600, '[') + QByteArray(600, ']') + "}]",
     "nesting too deep"},
};

TEST(BindingsFileReading, UndecodableFilesYieldNoBindingsAndOneLogLineSayingWhy) {
    for (const BadFile& file : badFiles) {
        SCOPED_TRACE(file.name);
        const QString path = fileWith(file.bytes);
        const LogWatch log;
        EXPECT_TRUE(KeyBindingStore::snapshot(path).isEmpty());
        const QStringList lines = log.messagesStartingWith(undecodable);
        EXPECT_EQ(log.messages().size(), 1) << log.messages().join(u'\n').toStdString();
        EXPECT_TRUE(lines.size() == 1 && lines[0].contains(QLatin1String(file.description)))
            << lines.join(u'\n').toStdString();
        const KeyBindingStore::Lookup found = KeyBindingStore::lookup(path, u"1-q");
        EXPECT_FALSE(found.entry.has_value());
        EXPECT_EQ(found.count, 0);
    }
}

TEST(BindingsFileReading, MissingFileOrAFolderIsEmptyWithoutALogLine) {
    const QString folder = TestSupport::freshFolder();
    const LogWatch log;
    EXPECT_TRUE(KeyBindingStore::snapshot(folder + "/keyBindings.json").isEmpty());
    EXPECT_TRUE(KeyBindingStore::snapshot(folder).isEmpty());
    EXPECT_EQ(KeyBindingStore::lookup(folder + "/keyBindings.json", u"1-q").count, 0);
    EXPECT_TRUE(log.messages().isEmpty());
}

} // namespace
