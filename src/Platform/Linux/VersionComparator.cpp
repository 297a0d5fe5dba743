#include "Platform/Linux/VersionComparator.h"

#include <QStringView>

#include <algorithm>
#include <vector>

namespace VersionComparator {

namespace {

struct Part {
    bool numeric = false;
    /// Digits without leading zeros ("" for zero), or letters in lower case.
    QString text;
};

std::vector<Part> parts(const QString& version) {
    std::vector<Part> result;
    qsizetype i = 0;
    const qsizetype n = version.size();
    while (i < n) {
        const QChar c = version.at(i);
        if (c.isDigit()) {
            qsizetype end = i;
            while (end < n && version.at(end).isDigit())
                ++end;
            qsizetype first = i;
            while (first < end && version.at(first) == QLatin1Char('0'))
                ++first;
            result.push_back({true, version.mid(first, end - first)});
            i = end;
        } else if (c.isLetter()) {
            qsizetype end = i;
            while (end < n && version.at(end).isLetter())
                ++end;
            result.push_back({false, version.mid(i, end - i).toLower()});
            i = end;
        } else {
            ++i;
        }
    }
    // A leading "v" ("v1.2") names the version, it is not part of it.
    if (result.size() > 1 && !result.front().numeric && result.front().text == QLatin1String("v") &&
        result[1].numeric)
        result.erase(result.begin());
    return result;
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

// Numbers of any length, compared without converting them.
int compareNumbers(const QString& a, const QString& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return sign(a.compare(b));
}

} // namespace

int compare(const QString& a, const QString& b) {
    const std::vector<Part> left = parts(a);
    const std::vector<Part> right = parts(b);
    const size_t count = std::max(left.size(), right.size());
    for (size_t i = 0; i < count; ++i) {
        if (i < left.size() && i < right.size()) {
            const Part& l = left[i];
            const Part& r = right[i];
            if (l.numeric && r.numeric) {
                if (const int order = compareNumbers(l.text, r.text)) return order;
            } else if (!l.numeric && !r.numeric) {
                if (const int order = sign(l.text.compare(r.text))) return order;
            } else {
                // A number goes on with the release, letters mark a pre-release: 1.0.1 > 1.0b.
                return l.numeric ? 1 : -1;
            }
            continue;
        }
        // One side goes on. Trailing zeros change nothing; more numbers make it newer; letters
        // make it a pre-release of the shorter one.
        const bool leftLonger = i < left.size();
        const Part& extra = leftLonger ? left[i] : right[i];
        if (extra.numeric && extra.text.isEmpty()) continue;
        const int longerIsNewer = extra.numeric ? 1 : -1;
        return leftLonger ? longerIsNewer : -longerIsNewer;
    }
    return 0;
}

} // namespace VersionComparator
