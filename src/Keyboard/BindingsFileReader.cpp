#include "Keyboard/BindingsFileReader.h"

#include "Platform/KeyStrokeMap.h"

#include <bit>
#include <utility>

namespace BindingsFileReader {
namespace {

using Kind = JsonScanner::Kind;

// The last occurrence of a member we read.
struct Member {
    Kind kind = Kind::absent;
    Slice text;
};

struct Element {
    Member key;
    Kind entryKind = Kind::absent;
    Member bundleId;
    Member path;
    Member name;
};

// Walks the document with the scanner. A syntax error stops the walk at once; a shape error
// (a missing member, a wrong type) is kept and reported only if the whole text is good JSON,
// so a broken file is described by what is broken first in it.
class Reader {
public:
    explicit Reader(QByteArrayView bytes) : scanner_(bytes) {}

    Result run() {
        Result result;
        if (!document(result.document))
            result.error = scanner_.error();
        else if (shape_)
            result.error = shape_;
        if (result.error) result.document = Document{};
        return result;
    }

private:
    bool document(Document& document) {
        scanner_.skipByteOrderMark();
        if (!scanner_.valueStart()) return false;
        if (scanner_.peek() == '[') {
            if (!scanner_.array([&](int index) { return element(index, document); })) return false;
        } else {
            Kind kind;
            if (!scanner_.value(kind)) return false;
            shape(QStringLiteral("the top-level value is %1, expected an array")
                      .arg(QLatin1String(JsonScanner::kindName(kind))));
        }
        return scanner_.finish();
    }

    bool element(int index, Document& document) {
        // Reused from element to element: the slices count only where the kinds say string.
        Element& found = found_;
        found.key.kind = found.entryKind = Kind::absent;
        found.bundleId.kind = found.path.kind = found.name.kind = Kind::absent;
        Kind kind = Kind::object;
        const bool ok =
            scanner_.peek() != '{' ? scanner_.value(kind) : scanner_.object([&](const Slice& name) {
                if (name.equals("key")) return stringMember(found.key);
                if (!name.equals("entry")) return ignoredMember();
                // A repeated "entry" replaces the earlier one whole.
                found.bundleId.kind = found.path.kind = found.name.kind = Kind::absent;
                if (scanner_.peek() != '{') return scanner_.value(found.entryKind);
                found.entryKind = Kind::object;
                return scanner_.object([&](const Slice& inner) {
                    if (inner.equals("bundleId")) return stringMember(found.bundleId);
                    if (inner.equals("path")) return stringMember(found.path);
                    if (inner.equals("name")) return stringMember(found.name);
                    return ignoredMember();
                });
            });
        if (!ok || shape_) return ok; // once the file is known to be bad, only syntax matters

        if (auto problem = check(kind, found)) {
            shape(QStringLiteral("element %1: %2").arg(index).arg(*problem));
            return true;
        }
        const int rank = rankOf(found.key.text);
        if (rank >= 0 && !document.has(rank)) { // the first element of a key counts
            document.byRank[size_t(rank)] = {found.bundleId.text, found.path.text, found.name.text};
            document.ranks |= std::uint64_t(1) << rank;
        }
        return true;
    }

    static std::optional<QString> check(Kind kind, const Element& found) {
        if (kind != Kind::object)
            return QStringLiteral("%1, expected an object").arg(QLatin1String(JsonScanner::kindName(kind)));
        const std::pair<Kind, const char*> wanted[] = {{found.key.kind, "key"},
                                                       {found.entryKind, "entry"},
                                                       {found.bundleId.kind, "bundleId"},
                                                       {found.path.kind, "path"},
                                                       {found.name.kind, "name"}};
        for (size_t i = 0; i < std::size(wanted); ++i) {
            const auto [has, name] = wanted[i];
            const Kind type = i == 1 ? Kind::object : Kind::string;
            if (has == type) continue;
            const auto where = QLatin1String(i >= 2 ? " in \"entry\"" : "");
            if (has == Kind::absent)
                return QStringLiteral("missing member \"%1\"%2").arg(QLatin1String(name), where);
            return QStringLiteral("member \"%1\"%2 is %3, expected %4")
                .arg(QLatin1String(name), where, QLatin1String(JsonScanner::kindName(has)),
                     QLatin1String(JsonScanner::kindName(type)));
        }
        return std::nullopt;
    }

    bool stringMember(Member& member) {
        if (scanner_.peek() != '"') return scanner_.value(member.kind);
        member.kind = Kind::string;
        return scanner_.string(member.text);
    }

    bool ignoredMember() {
        Kind ignored;
        return scanner_.value(ignored);
    }

    void shape(const QString& what) {
        if (!shape_) shape_ = what;
    }

    JsonScanner scanner_;
    Element found_;
    std::optional<QString> shape_;
};

// The form KeyBindingStore::encode writes, member for member with no white space, read
// without looking member names up: the files the hotkey path reads are nearly always in it.
// False, with `document` in any state, as soon as the bytes leave that form or are not good
// JSON; the general reader then reads them from the start and says what is wrong.
bool readWrittenForm(QByteArrayView bytes, Document& document) {
    JsonScanner scanner(bytes);
    if (!scanner.skipExactly("[")) return false;
    if (scanner.skipExactly("]")) return scanner.finish();
    do {
        Slice key;
        Binding binding;
        if (!scanner.skipExactly("{\"key\":") || !scanner.stringIfAny(key) ||
            !scanner.skipExactly(",\"entry\":{\"bundleId\":") || !scanner.stringIfAny(binding.bundleId) ||
            !scanner.skipExactly(",\"path\":") || !scanner.stringIfAny(binding.path) ||
            !scanner.skipExactly(",\"name\":") || !scanner.stringIfAny(binding.name) ||
            !scanner.skipExactly("}}"))
            return false;
        const int rank = rankOf(key);
        if (rank >= 0 && !document.has(rank)) { // the first element of a key counts
            document.byRank[size_t(rank)] = binding;
            document.ranks |= std::uint64_t(1) << rank;
        }
    } while (scanner.skipExactly(","));
    return scanner.skipExactly("]") && scanner.finish();
}

} // namespace

int Document::count() const {
    return std::popcount(ranks);
}

Result parse(QByteArrayView bytes) {
    Result written;
    if (readWrittenForm(bytes, written.document)) return written;
    return Reader(bytes).run();
}

int rankOf(const Slice& key) {
    if (!key.escaped) return KeyStrokeMap::rank(key.raw());
    char buffer[4];
    const int length = key.decodeShort(buffer, int(sizeof buffer));
    return length < 0 ? -1 : KeyStrokeMap::rank(std::string_view(buffer, size_t(length)));
}

} // namespace BindingsFileReader
