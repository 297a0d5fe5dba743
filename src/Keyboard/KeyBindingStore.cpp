#include "Keyboard/KeyBindingStore.h"

#include "Keyboard/BindingsFileReader.h"
#include "Platform/KeyStrokeMap.h"
#include "Platform/Platform.h"
#include "Platform/TimePort.h"
#include "Support/DataFolder.h"
#include "Support/FileIO.h"
#include "Support/HotkeyLog.h"
#include "Support/JsonWriter.h"

#include <algorithm>
#include <bit>
#include <tuple>
#include <vector>

namespace {

void logUndecodable(const QString& description) {
    HotkeyLog::log(QStringLiteral("keyBindings.json 解析失败，按空绑定处理: ") + description);
}

// The file's usable bindings, their slices pointing into `bytes`. Empty when the file is
// missing or unreadable (silently) or cannot be decoded (with one log line). `problem`, when
// given, receives why a file that is there could not be used.
BindingsFileReader::Document readFile(const QString& path, QByteArray& bytes, QString* problem = nullptr) {
    FileIO::ReadResult read = FileIO::read(path, KeyBindingStore::maxFileBytes);
    switch (read.status) {
    case FileIO::ReadResult::Status::missing:
        return {};
    case FileIO::ReadResult::Status::unreadable:
        if (problem) *problem = read.problem;
        return {};
    case FileIO::ReadResult::Status::tooLarge:
        logUndecodable(QStringLiteral("the file is larger than %1 bytes").arg(KeyBindingStore::maxFileBytes));
        if (problem) *problem = QStringLiteral("it is larger than 1 MiB");
        return {};
    case FileIO::ReadResult::Status::ok:
        break;
    }
    bytes = std::move(read.bytes);
    BindingsFileReader::Result parsed = BindingsFileReader::parse(bytes);
    if (parsed.error) {
        logUndecodable(*parsed.error);
        if (problem) *problem = QStringLiteral("it is not a list of bindings (%1)").arg(*parsed.error);
    }
    return parsed.document;
}

// What the bindings of a document are.
KeyBindingStore::Bindings bindingsOf(const BindingsFileReader::Document& document) {
    KeyBindingStore::Bindings bindings;
    bindings.reserve(document.count());
    const QStringList& order = KeyStrokeMap::layoutOrder();
    for (std::uint64_t ranks = document.ranks; ranks != 0; ranks &= ranks - 1) {
        const int rank = std::countr_zero(ranks);
        bindings.insert(order[rank], document.byRank[size_t(rank)].toEntry());
    }
    return bindings;
}

QDateTime wallClock() {
    return Platform::isInstalled() ? Platform::current().time().currentDate() : QDateTime::currentDateTime();
}

int rankOf(QStringView keyID) {
    if (keyID.size() != 3) return -1;
    char ascii[3];
    for (qsizetype i = 0; i < 3; ++i) {
        const char16_t unit = keyID[i].unicode();
        if (unit >= 0x80) return -1;
        ascii[i] = static_cast<char>(unit);
    }
    return KeyStrokeMap::rank(std::string_view(ascii, 3));
}

} // namespace

KeyBindingStore::KeyBindingStore(std::optional<QString> filePath, QObject* parent)
    : QObject(parent), fileURL_(filePath ? std::move(*filePath) : defaultFileURL()) {}

QString KeyBindingStore::defaultFileURL() {
    static const QString url = DataFolder::file(QStringLiteral("keyBindings.json"));
    return url;
}

void KeyBindingStore::load() {
    if (loaded_) return;
    loaded_ = true;
    QByteArray bytes;
    QString problem;
    Bindings read = bindingsOf(readFile(fileURL_, bytes, &problem));
    if (!problem.isEmpty()) {
        unreadable_ = FileIO::UnreadableFile{fileURL_, problem, {}};
        emit unreadableFileChanged();
    }
    if (read == bindings_) return;
    bindings_ = std::move(read);
    emit bindingsChanged();
}

bool KeyBindingStore::bind(const QString& key, const AppEntry& entry) {
    if (!KeyStrokeMap::rankByKeyID().contains(key)) return false;
    const auto existing = bindings_.constFind(key);
    const bool changed = existing == bindings_.constEnd() || *existing != entry;
    bindings_.insert(key, entry);
    if (changed) emit bindingsChanged();
    save();
    return true;
}

void KeyBindingStore::unbind(const QString& key) {
    if (!bindings_.remove(key)) return;
    emit bindingsChanged();
    save();
}

void KeyBindingStore::refreshPaths(
    const std::function<std::optional<QString>(const QString& bundleId)>& lookup) {
    const Bindings before = bindings_;
    bool changed = false;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const std::optional<QString> path = lookup(it->bundleId);
        if (!path || *path == it->path) continue;
        // The stored name stays: only the location of the application moved.
        bindings_.insert(it.key(), AppEntry{it->bundleId, *path, it->name});
        changed = true;
    }
    if (!changed) return;
    emit bindingsChanged();
    save();
}

KeyBindingStore::Bindings KeyBindingStore::snapshot(const QString& path) {
    QByteArray bytes;
    return bindingsOf(readFile(path, bytes));
}

KeyBindingStore::Lookup KeyBindingStore::lookup(const QString& path, QStringView keyID) {
    QByteArray bytes;
    const BindingsFileReader::Document document = readFile(path, bytes);
    Lookup result;
    result.count = document.count();
    const int rank = rankOf(keyID);
    if (document.has(rank)) result.entry = document.byRank[size_t(rank)].toEntry();
    return result;
}

QByteArray KeyBindingStore::encode(const Bindings& bindings) {
    // Byte order of the UTF-8 keys, which for the key identifiers is plain ASCII order.
    std::vector<std::tuple<QByteArray, const QString*, const AppEntry*>> sorted;
    sorted.reserve(size_t(bindings.size()));
    for (auto it = bindings.cbegin(); it != bindings.cend(); ++it)
        sorted.emplace_back(it.key().toUtf8(), &it.key(), &*it);
    std::sort(sorted.begin(), sorted.end(),
              [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });

    JsonWriter writer;
    writer.beginArray();
    for (const auto& [utf8, key, entry] : sorted) {
        writer.beginObject().key(u"key").value(*key).key(u"entry").beginObject();
        writer.key(u"bundleId")
            .value(entry->bundleId)
            .key(u"path")
            .value(entry->path)
            .key(u"name")
            .value(entry->name);
        writer.endObject().endObject();
    }
    writer.endArray();
    return writer.bytes();
}

bool KeyBindingStore::keepUnreadableAside() {
    if (!unreadable_ || !unreadable_->keptAs.isEmpty()) return true;
    if (const auto error = FileIO::keepAside(*unreadable_, wallClock())) {
        HotkeyLog::log(QStringLiteral("keyBindings.json 写入失败: ") + *error);
        return false;
    }
    // Gone by the time of the save (removed by hand): there is nothing left to tell.
    if (unreadable_->keptAs.isEmpty()) unreadable_.reset();
    emit unreadableFileChanged();
    return true;
}

void KeyBindingStore::save() {
    // The user's old bindings are never written over: they may be mended and put back.
    if (!keepUnreadableAside()) return;
    if (const auto error = FileIO::writeAtomically(fileURL_, encode(bindings_)))
        HotkeyLog::log(QStringLiteral("keyBindings.json 写入失败: ") + *error);
}

std::vector<std::int64_t> KeyBindingStore::boundKeyCodes() const {
    std::vector<std::int64_t> codes;
    for (const KeyStrokeMap::Key& key : KeyStrokeMap::table())
        if (const auto id = KeyStrokeMap::keyID(key.code); id && bindings_.contains(*id)) codes.push_back(key.code);
    return codes;
}
