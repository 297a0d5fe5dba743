// The bindings file reader: any bytes give a document or an error, never both; a document
// agrees with Qt's JSON reader on every binding; what is read is written back unchanged.
#include "FuzzCheck.h"

#include "Platform/KeyStrokeMap.h"
#include "Keyboard/BindingsFileReader.h"
#include "Keyboard/KeyBindingStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

namespace {

KeyBindingStore::Bindings bindingsOf(const BindingsFileReader::Document& document) {
    KeyBindingStore::Bindings bindings;
    for (int rank = 0; rank < 47; ++rank) {
        if (!document.has(rank)) continue;
        const BindingsFileReader::Binding& b = document.byRank[size_t(rank)];
        bindings.insert(KeyStrokeMap::layoutOrder()[rank],
                        AppEntry{b.bundleId.toString(), b.path.toString(), b.name.toString()});
    }
    return bindings;
}

// Qt's reader drops a U+FEFF that starts a string written without escapes (a key or a name
// alike); ours keeps it, as inside a string it is text. Qt is given the same text with every
// U+FEFF after the leading byte order mark written as an escape, which both readers keep.
QByteArray withMarksEscaped(const QByteArray& bytes) {
    static const QByteArray mark("\xEF\xBB\xBF");
    qsizetype from = bytes.startsWith(mark) ? mark.size() : 0;
    QByteArray out = bytes.left(from);
    for (qsizetype at; (at = bytes.indexOf(mark, from)) >= 0; from = at + mark.size()) {
        out += bytes.mid(from, at - from);
        out += "\\ufeff";
    }
    out += bytes.mid(from);
    return out;
}

// The bindings as Qt's reader sees the same text: the first element of each of the 47 keys.
KeyBindingStore::Bindings bindingsByQt(const QJsonArray& elements) {
    KeyBindingStore::Bindings bindings;
    for (const QJsonValue& element : elements) {
        const QJsonObject object = element.toObject();
        const QJsonObject entry = object.value(u"entry").toObject();
        const QString key = object.value(u"key").toString();
        if (!KeyStrokeMap::rankByKeyID().contains(key) || bindings.contains(key)) continue;
        bindings.insert(key, AppEntry{entry.value(u"bundleId").toString(), entry.value(u"path").toString(),
                                      entry.value(u"name").toString()});
    }
    return bindings;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const BindingsFileReader::Result result = BindingsFileReader::parse(bytes);
    if (result.error) {
        FUZZ_CHECK(result.document.ranks == 0);
        FUZZ_CHECK(!result.error->isEmpty());
        return 0;
    }
    const KeyBindingStore::Bindings bindings = bindingsOf(result.document);
    FUZZ_CHECK(bindings.size() == result.document.count());

    // Qt's reader skips a byte order mark too, and nests up to 1024 levels (ours: 512).
    QJsonParseError error{};
    const QJsonDocument qt = QJsonDocument::fromJson(withMarksEscaped(bytes), &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && qt.isArray());
    FUZZ_CHECK(bindingsByQt(qt.array()) == bindings);

    const QByteArray written = KeyBindingStore::encode(bindings);
    const BindingsFileReader::Result reread = BindingsFileReader::parse(written);
    FUZZ_CHECK(!reread.error);
    FUZZ_CHECK(bindingsOf(reread.document) == bindings);
    return 0;
}
