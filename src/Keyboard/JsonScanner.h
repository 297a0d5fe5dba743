#pragma once

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

/// A validating cursor over JSON text (RFC 8259, UTF-8 only). It steps over values in place
/// and hands strings back as slices of the caller's buffer, so nothing is copied or allocated
/// until the caller asks for text. The first syntax error stops it; error() then describes it
/// with its byte offset.
class JsonScanner {
public:
    enum class Kind : std::uint8_t { absent, string, number, object, array, boolean, null };

    /// A JSON string as it stands in the buffer, between its quotes.
    struct Slice {
        const char* data = nullptr;
        std::size_t size = 0;
        /// The bytes hold backslash escapes, so they are not the text itself.
        bool escaped = false;

        std::string_view raw() const { return {data, size}; }
        /// The text, escapes resolved.
        QString toString() const;
        /// Equal to `text` once escapes are resolved.
        bool equals(std::string_view text) const { return escaped ? equalsEscaped(text) : raw() == text; }
        /// Resolves the escapes of a short string into UTF-8 bytes: the length, or -1 when
        /// more than `capacity` bytes would be needed.
        int decodeShort(char* out, int capacity) const;

    private:
        bool equalsEscaped(std::string_view text) const;
    };

    /// "a string", "an object", ... for descriptions.
    static const char* kindName(Kind kind);

    explicit JsonScanner(QByteArrayView bytes);

    /// Skips a UTF-8 byte order mark at the very start, which the format allows readers to ignore.
    void skipByteOrderMark();
    /// Skips white space; true when a value can start at the cursor.
    bool valueStart() {
        skipSpace();
        return p_ != end_ || failEnd();
    }
    /// The byte at the cursor; only after valueStart() held.
    char peek() const { return static_cast<char>(*p_); }
    /// Steps over one value of any kind (the cursor at its start) and tells its kind.
    bool value(Kind& kind);
    /// Steps over a string (the cursor at its quote), giving its slice.
    bool string(Slice& out);
    /// Steps over a string when one starts at the cursor; false, and no error, when none does.
    bool stringIfAny(Slice& out) { return p_ != end_ && *p_ == '"' && string(out); }
    /// Steps over `text` when the bytes at the cursor are exactly it; otherwise stays put.
    template <std::size_t N> bool skipExactly(const char (&text)[N]) {
        constexpr std::size_t length = N - 1;
        if (std::size_t(end_ - p_) < length || std::memcmp(p_, text, length) != 0) return false;
        p_ += length;
        return true;
    }
    /// Steps over an object (the cursor at its brace), calling onMember(name) with the cursor
    /// at the start of each member's value; onMember must step over that value.
    template <typename OnMember> bool object(OnMember&& onMember);
    /// Steps over an array (the cursor at its bracket), calling onElement(index) with the cursor
    /// at the start of each element; onElement must step over it.
    template <typename OnElement> bool array(OnElement&& onElement);
    /// True when only white space is left.
    bool finish();

    /// The description of the syntax error that stopped the scan.
    const QString& error() const { return error_; }

private:
    using Byte = unsigned char;

    void skipSpace() {
        while (p_ != end_ && (*p_ == ' ' || *p_ == '\n' || *p_ == '\r' || *p_ == '\t'))
            ++p_;
    }
    /// After a value inside a container: true at the closing byte (stepped over) or a comma
    /// (stepped over, and the next value or member name checked).
    bool next(char close, bool& closed) {
        skipSpace();
        if (p_ != end_ && *p_ == Byte(close)) {
            ++p_;
            closed = true;
            return true;
        }
        if (p_ == end_ || *p_ != ',') return failUnexpected();
        ++p_;
        return valueStart();
    }
    /// A member name and its colon, leaving the cursor at the start of the value.
    bool memberName(Slice& name) {
        if (p_ == end_ || *p_ != '"') return failUnexpected();
        if (!string(name)) return false;
        skipSpace();
        if (p_ != end_ && *p_ == ':') {
            ++p_;
            return valueStart();
        }
        return failUnexpected();
    }
    bool scalar(Kind& kind);
    bool nested();
    bool literal(std::string_view word);
    bool digits();
    bool number();
    bool escape();
    bool utf8();

    bool failAt(const Byte* at, const char* what);
    bool fail(const char* what) { return failAt(p_, what); }
    bool failEnd() { return failAt(end_, "unexpected end of data"); }
    bool failUnexpected();

    const Byte* const begin_;
    const Byte* p_;
    const Byte* const end_;
    QString error_;
};

template <typename OnMember> bool JsonScanner::object(OnMember&& onMember) {
    ++p_;
    skipSpace();
    if (p_ != end_ && *p_ == '}') {
        ++p_;
        return true;
    }
    for (bool closed = false; !closed;) {
        Slice name;
        if (!memberName(name) || !onMember(static_cast<const Slice&>(name)) || !next('}', closed))
            return false;
    }
    return true;
}

template <typename OnElement> bool JsonScanner::array(OnElement&& onElement) {
    ++p_;
    skipSpace();
    if (p_ != end_ && *p_ == ']') {
        ++p_;
        return true;
    }
    if (!valueStart()) return false;
    bool closed = false;
    for (int index = 0; !closed; ++index) {
        if (!onElement(index) || !next(']', closed)) return false;
    }
    return true;
}
