#include "Keyboard/JsonScanner.h"

#include <QChar>

#include <array>
#include <bit>
#include <bitset>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

using Byte = unsigned char;

// Far deeper than any real file; the bound keeps hostile input cheap.
constexpr int maxDepth = 512;

// Bytes that stand for themselves in a string: ASCII from the blank up, but quote and backslash.
constexpr std::array<bool, 256> plainBytes = [] {
    std::array<bool, 256> table{};
    for (int c = 0x20; c < 0x80; ++c)
        table[size_t(c)] = c != '"' && c != '\\';
    return table;
}();

// The letters that may follow a backslash on their own.
constexpr std::array<bool, 256> oneLetterEscapes = [] {
    std::array<bool, 256> table{};
    for (const char c : std::string_view("\"\\/bfnrt"))
        table[size_t(Byte(c))] = true;
    return table;
}();

// Eight bytes at a time while they are all plain: strings in our files are long ASCII runs.
// Per byte, the high bit of the answer is set where the byte is below 0x20, a quote, a
// backslash or not ASCII. Read little-endian, borrows run only towards later bytes, so the
// lowest flag is exact; a later one may be a plain byte flagged by the borrow.
std::uint64_t specialFlags(const Byte* p) {
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t highs = 0x8080808080808080u;
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    const std::uint64_t quote = word ^ (ones * '"');
    const std::uint64_t backslash = word ^ (ones * '\\');
    return (((word - ones * 0x20) & ~word) | ((quote - ones) & ~quote) | ((backslash - ones) & ~backslash) | word) &
           highs;
}

const Byte* skipPlain(const Byte* p, const Byte* end) {
    while (end - p >= 8) {
        if (const std::uint64_t flags = specialFlags(p); flags != 0) {
            if constexpr (std::endian::native == std::endian::little) return p + std::countr_zero(flags) / 8;
            break; // elsewhere the byte loop below finds it
        }
        p += 8;
    }
    while (p < end && plainBytes[*p])
        ++p;
    return p;
}

// One bit per byte of the 16 at p, set where the byte may not be plain (see specialFlags).
std::uint32_t specialBits(const Byte* p) {
#if defined(__SSE2__)
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    // Compared as signed bytes, everything from 0x80 up is below the blank as well.
    const __m128i special = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\\'))),
        _mm_cmplt_epi8(v, _mm_set1_epi8(0x20)));
    return std::uint32_t(_mm_movemask_epi8(special));
#else
    // The flags sit on bits 7, 15, ... 63; the multiplication gathers them into the top byte.
    constexpr std::uint64_t gather = 0x0102040810204080u;
    return std::uint32_t((specialFlags(p) >> 7) * gather >> 56) |
           std::uint32_t((specialFlags(p + 8) >> 7) * gather >> 56) << 8;
#endif
}

// Steps over plain bytes and one-letter escapes (a written path is full of "\/") sixteen bytes
// at a time, setting `escaped` when it passes one. Stops at the first byte that needs a closer
// look — a quote, a control, a byte beyond ASCII, any other escape, a backslash that ends a
// block — or at the last sixteen bytes, which the word loop takes.
const Byte* skipPlainAndEscapes(const Byte* p, const Byte* end, bool& escaped) {
    if constexpr (std::endian::native != std::endian::little) return skipPlain(p, end);
    while (end - p >= 16) {
        for (std::uint32_t bits = specialBits(p); bits != 0;) {
            const int i = std::countr_zero(bits);
            const Byte c = p[i];
            if (c != '\\') {
                if (!plainBytes[c]) return p + i;
                bits &= bits - 1; // a borrow's flag
                continue;
            }
            if (i == 15 || !oneLetterEscapes[p[i + 1]]) return p + i;
            escaped = true;
            bits &= ~(std::uint32_t(3) << i); // the escaped letter may itself be a quote or backslash
        }
        p += 16;
    }
    return skipPlain(p, end);
}

bool isDigit(Byte c) {
    return c >= '0' && c <= '9';
}

int hexDigit(Byte c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The four hex digits at p, or -1.
int hex4(const Byte* p) {
    int value = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigit(p[i]);
        if (digit < 0) return -1;
        value = value << 4 | digit;
    }
    return value;
}

bool isHighSurrogate(int unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(int unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The character of a validated one-letter escape (not \u).
char simpleEscape(Byte letter) {
    switch (letter) {
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    default:
        return static_cast<char>(letter); // " \ /
    }
}

// The code point of a validated escape at p (a backslash); moves p past it.
char32_t escapedCodePoint(const Byte*& p) {
    if (p[1] != 'u') {
        const char c = simpleEscape(p[1]);
        p += 2;
        return char32_t(Byte(c));
    }
    const int unit = hex4(p + 2);
    p += 6;
    if (!isHighSurrogate(unit)) return char32_t(unit);
    const int low = hex4(p + 2);
    p += 6;
    return char32_t(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
}

// The code point of a validated multi-byte UTF-8 sequence at p; moves p past it.
char32_t utf8CodePoint(const Byte*& p) {
    const Byte c = *p;
    if (c < 0xE0) {
        const char32_t cp = char32_t(c & 0x1F) << 6 | (p[1] & 0x3F);
        p += 2;
        return cp;
    }
    if (c < 0xF0) {
        const char32_t cp = char32_t(c & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
        p += 3;
        return cp;
    }
    const char32_t cp =
        char32_t(c & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 | char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
    p += 4;
    return cp;
}

int encodeUtf8(char32_t cp, char* out) {
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | cp >> 6);
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | cp >> 12);
        out[1] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | cp >> 18);
    out[1] = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    out[2] = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}

} // namespace

// ---- slices

QString JsonScanner::Slice::toString() const {
    // fromUtf8 would drop a leading byte order mark, which inside a string is text.
    const bool leadingMark = size >= 3 && std::memcmp(data, "\xEF\xBB\xBF", 3) == 0;
    if (!escaped && !leadingMark) return QString::fromUtf8(data, qsizetype(size));
    // Never more UTF-16 units than bytes: every escape and multi-byte sequence shrinks.
    QString text(qsizetype(size), Qt::Uninitialized);
    char16_t* const first = reinterpret_cast<char16_t*>(text.data());
    char16_t* out = first;
    const auto* p = reinterpret_cast<const Byte*>(data);
    const Byte* const end = p + size;
    while (p < end) {
        // A run of plain ASCII is found first and then widened in one simple loop.
        const Byte* run = p;
        while (run < end && *run < 0x80 && *run != '\\')
            ++run;
        for (; p < run; ++p)
            *out++ = *p;
        if (p == end) break;
        const char32_t cp = *p == '\\' ? escapedCodePoint(p) : utf8CodePoint(p);
        if (cp >= 0x10000) {
            *out++ = QChar::highSurrogate(cp);
            *out++ = QChar::lowSurrogate(cp);
        } else {
            *out++ = char16_t(cp);
        }
    }
    text.truncate(out - first);
    return text;
}

int JsonScanner::Slice::decodeShort(char* out, int capacity) const {
    const auto* p = reinterpret_cast<const Byte*>(data);
    const Byte* const end = p + size;
    int length = 0;
    while (p < end) {
        if (*p != '\\') {
            if (length == capacity) return -1;
            out[length++] = static_cast<char>(*p++);
            continue;
        }
        char encoded[4];
        const int bytes = encodeUtf8(escapedCodePoint(p), encoded);
        if (length + bytes > capacity) return -1;
        std::memcpy(out + length, encoded, size_t(bytes));
        length += bytes;
    }
    return length;
}

bool JsonScanner::Slice::equalsEscaped(std::string_view text) const {
    char buffer[32];
    const int length = decodeShort(buffer, int(sizeof buffer));
    return length >= 0 && std::string_view(buffer, size_t(length)) == text;
}

const char* JsonScanner::kindName(Kind kind) {
    switch (kind) {
    case Kind::absent:
        return "missing";
    case Kind::string:
        return "a string";
    case Kind::number:
        return "a number";
    case Kind::object:
        return "an object";
    case Kind::array:
        return "an array";
    case Kind::boolean:
        return "a boolean";
    case Kind::null:
        return "null";
    }
    return "unknown";
}

// ---- scanning

JsonScanner::JsonScanner(QByteArrayView bytes)
    : begin_(reinterpret_cast<const Byte*>(bytes.data())), p_(begin_), end_(begin_ + bytes.size()) {}

void JsonScanner::skipByteOrderMark() {
    if (p_ == begin_ && end_ - p_ >= 3 && p_[0] == 0xEF && p_[1] == 0xBB && p_[2] == 0xBF) p_ += 3;
}

bool JsonScanner::finish() {
    skipSpace();
    return p_ == end_ || fail("unexpected data after the top-level value");
}

bool JsonScanner::value(Kind& kind) {
    if (*p_ == '{' || *p_ == '[') {
        kind = *p_ == '{' ? Kind::object : Kind::array;
        return nested();
    }
    return scalar(kind);
}

bool JsonScanner::scalar(Kind& kind) {
    switch (*p_) {
    case '"': {
        kind = Kind::string;
        Slice ignored;
        return string(ignored);
    }
    case 't':
        kind = Kind::boolean;
        return literal("true");
    case 'f':
        kind = Kind::boolean;
        return literal("false");
    case 'n':
        kind = Kind::null;
        return literal("null");
    default:
        kind = Kind::number;
        return number();
    }
}

// Containers of any depth are walked with an explicit stack, so hostile nesting cannot
// exhaust the calling thread's stack.
bool JsonScanner::nested() {
    std::bitset<maxDepth> inObject;
    int depth = 0;
    for (;;) {
        const Byte c = *p_;
        bool complete = true;
        if (c == '{' || c == '[') {
            if (depth == maxDepth) return fail("nesting too deep");
            inObject[size_t(depth++)] = c == '{';
            ++p_;
            skipSpace();
            if (p_ == end_) return failEnd();
            complete = *p_ == (c == '{' ? '}' : ']');
            if (complete) {
                ++p_;
                --depth;
            }
        } else {
            Kind ignored;
            if (!scalar(ignored)) return false;
        }
        if (complete) {
            // Close what ends here; stop at a comma, before the next value.
            bool closed = true;
            while (closed && depth > 0) {
                closed = false;
                if (!next(inObject[size_t(depth - 1)] ? '}' : ']', closed)) return false;
                if (closed) --depth;
            }
            if (depth == 0) return true;
        }
        Slice name;
        if (inObject[size_t(depth - 1)] && !memberName(name)) return false;
    }
}

bool JsonScanner::literal(std::string_view word) {
    for (const char c : word) {
        if (p_ == end_) return failEnd();
        if (*p_ != Byte(c)) return failUnexpected();
        ++p_;
    }
    return true;
}

bool JsonScanner::digits() {
    if (p_ == end_) return failEnd();
    if (!isDigit(*p_)) return failUnexpected();
    while (p_ != end_ && isDigit(*p_))
        ++p_;
    return true;
}

bool JsonScanner::number() {
    if (*p_ == '-') ++p_;
    if (p_ != end_ && *p_ == '0')
        ++p_;
    else if (!digits())
        return false;
    if (p_ != end_ && *p_ == '.') {
        ++p_;
        if (!digits()) return false;
    }
    if (p_ != end_ && (*p_ == 'e' || *p_ == 'E')) {
        ++p_;
        if (p_ != end_ && (*p_ == '+' || *p_ == '-')) ++p_;
        if (!digits()) return false;
    }
    return true;
}

bool JsonScanner::string(Slice& out) {
    const Byte* const start = ++p_;
    bool escaped = false;
    for (;;) {
        p_ = skipPlainAndEscapes(p_, end_, escaped);
        if (p_ == end_) return failEnd();
        const Byte c = *p_;
        if (c == '"') break;
        if (c == '\\') {
            escaped = true;
            // One-letter escapes (a path is full of "\/") are stepped over here; \u needs more.
            if (end_ - p_ >= 2 && oneLetterEscapes[p_[1]])
                p_ += 2;
            else if (!escape())
                return false;
        } else if (c < 0x20) {
            return fail("control character in a string");
        } else if (!utf8()) {
            return false;
        }
    }
    out = {reinterpret_cast<const char*>(start), size_t(p_ - start), escaped};
    ++p_;
    return true;
}

bool JsonScanner::escape() {
    const Byte* const at = p_;
    if (end_ - p_ < 2) return failEnd();
    if (oneLetterEscapes[p_[1]]) {
        p_ += 2;
        return true;
    }
    if (p_[1] != 'u') return fail("invalid escape");
    if (end_ - p_ < 6) return failEnd();
    const int unit = hex4(p_ + 2);
    if (unit < 0) return fail("invalid \\u escape");
    p_ += 6;
    if (isLowSurrogate(unit)) return failAt(at, "lone surrogate");
    if (!isHighSurrogate(unit)) return true;
    // A high surrogate must be followed at once by the \u escape of a low one.
    const bool pairFollows = (end_ - p_ < 1 || p_[0] == '\\') && (end_ - p_ < 2 || p_[1] == 'u');
    if (!pairFollows) return failAt(at, "lone surrogate");
    if (end_ - p_ < 6) return failEnd();
    const int low = hex4(p_ + 2);
    if (low < 0) return fail("invalid \\u escape");
    if (!isLowSurrogate(low)) return failAt(at, "lone surrogate");
    p_ += 6;
    return true;
}

// One multi-byte UTF-8 sequence: no overlong forms, no surrogates, nothing past U+10FFFF.
bool JsonScanner::utf8() {
    const Byte c = *p_;
    int length = 0;
    Byte low = 0x80, high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0) low = 0xA0;
        if (c == 0xED) high = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0) low = 0x90;
        if (c == 0xF4) high = 0x8F;
    } else {
        return fail("invalid UTF-8");
    }
    if (end_ - p_ < length || p_[1] < low || p_[1] > high) return fail("invalid UTF-8");
    for (int i = 2; i < length; ++i) {
        if ((p_[i] & 0xC0) != 0x80) return fail("invalid UTF-8");
    }
    p_ += length;
    return true;
}

// ---- failures

bool JsonScanner::failAt(const Byte* at, const char* what) {
    error_ = QStringLiteral("%1 at offset %2").arg(QLatin1String(what)).arg(at - begin_);
    return false;
}

bool JsonScanner::failUnexpected() {
    if (p_ == end_) return failEnd();
    const Byte c = *p_;
    error_ = c >= 0x20 && c < 0x7F ? QStringLiteral("unexpected character '%1' at offset %2")
                                         .arg(QChar(char16_t(c)))
                                         .arg(p_ - begin_)
                                   : QStringLiteral("unexpected byte 0x%1 at offset %2")
                                         .arg(int(c), 2, 16, QLatin1Char('0'))
                                         .arg(p_ - begin_);
    return false;
}
