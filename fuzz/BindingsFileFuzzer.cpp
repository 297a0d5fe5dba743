// The bindings file reader: any bytes give a document or an error, never both; a document
// agrees with Qt's JSON reader on every binding; what is read is written back unchanged.
#include "FuzzCheck.h"

#include "Hotkey/KeyStrokeMap.h"
#include "Keyboard/BindingsFileReader.h"
#include "Keyboard/KeyBindingStore.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstddef>
#include <cstdint>

namespace {

enum class Reader { ours, qt };

// The bindings of a document. Qt's reader drops a U+FEFF that starts a string written without
// escapes; ours keeps it, as inside a string it is text: `Reader::qt` gives what Qt would.
KeyBindingStore::Bindings bindingsOf(const BindingsFileReader::Document& document, Reader reader = Reader::ours) {
    const auto text = [reader](const BindingsFileReader::Slice& slice) {
        QString t = slice.toString();
        if (reader == Reader::qt && !slice.escaped && t.startsWith(QChar(0xFEFF))) t.remove(0, 1);
        return t;
    };
    KeyBindingStore::Bindings bindings;
    for (int rank = 0; rank < 47; ++rank) {
        if (!document.has(rank)) continue;
        const BindingsFileReader::Binding& b = document.byRank[size_t(rank)];
        bindings.insert(KeyStrokeMap::layoutOrder()[rank], AppEntry{text(b.bundleId), text(b.path), text(b.name)});
    }
    return bindings;
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
    const QJsonDocument qt = QJsonDocument::fromJson(bytes, &error);
    FUZZ_CHECK(error.error == QJsonParseError::NoError && qt.isArray());
    FUZZ_CHECK(bindingsByQt(qt.array()) == bindingsOf(result.document, Reader::qt));

    const QByteArray written = KeyBindingStore::encode(bindings);
    const BindingsFileReader::Result reread = BindingsFileReader::parse(written);
    FUZZ_CHECK(!reread.error);
    FUZZ_CHECK(bindingsOf(reread.document) == bindings);
    return 0;
}
