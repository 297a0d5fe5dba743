#pragma once

#include "Keyboard/AppEntry.h"
#include "Keyboard/JsonScanner.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

/// A strict reader for "keyBindings.json", written for the hotkey path, which reads and decodes
/// the whole file on every stroke. The whole document is validated as JSON (RFC 8259, UTF-8
/// only; a leading byte order mark is ignored), but nothing is copied while validating: strings
/// stay slices of the caller's buffer, and text is built only for the bindings asked for.
///
/// Shape: a top-level array of objects, each with "key" (string) and "entry" (object with
/// "bundleId", "path" and "name", all strings). Other members are ignored wherever they appear.
/// A member missing or of another type makes the whole document undecodable. When a member
/// name repeats within one object, the last one counts, as with common JSON decoders. Keys
/// that are not among the 47 bindable keys are skipped; when a key repeats, its first
/// element counts.
namespace BindingsFileReader {

using Slice = JsonScanner::Slice;

/// One usable binding: the entry's strings, pointing into the buffer.
struct Binding {
    Slice bundleId;
    Slice path;
    Slice name;

    AppEntry toEntry() const { return {bundleId.toString(), path.toString(), name.toString()}; }
};

/// The usable bindings of a document, by the rank of their key in the layout.
struct Document {
    std::array<Binding, 47> byRank{};
    /// Bit r set: byRank[r] holds a binding.
    std::uint64_t ranks = 0;

    bool has(int rank) const { return rank >= 0 && rank < 47 && (ranks >> rank & 1u) != 0; }
    int count() const;
};

/// A parsed document, or why it could not be decoded.
struct Result {
    Document document;
    /// Set when the bytes are not a well-formed bindings document; document is then empty.
    std::optional<QString> error;
};

/// Parses and validates `bytes`. The slices of the result point into `bytes`, which must
/// outlive them.
Result parse(QByteArrayView bytes);

/// The rank of a key identifier given as a JSON string slice, or -1 when it is not one of
/// the 47 (escapes are resolved first, so "3-\/" is the key 3-/).
int rankOf(const Slice& key);

} // namespace BindingsFileReader
