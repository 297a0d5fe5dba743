#include "Platform/PlatformWords.h"

namespace {
// Keeps the footer on one line however many keys are held.
constexpr qsizetype keysNamed = 3;
} // namespace

QString PlatformWords::keysTakenText(const QStringList& legends) const {
    if (legends.isEmpty()) return {};
    QString trigger = triggerKey;
    if (!trigger.isEmpty()) trigger[0] = trigger[0].toUpper();
    const QString first = trigger + QStringLiteral(" + ") + legends.first();
    if (legends.size() == 1) return oneKeyTaken.arg(first);

    // "Right Super + E, R and T", or "Right Super + E, R, T and 4 more keys".
    QStringList named{first};
    named += legends.mid(1, keysNamed - 1);
    const qsizetype rest = legends.size() - named.size();
    const QString last = rest > 0 ? QStringLiteral("%1 more keys").arg(rest) : named.takeLast();
    return severalKeysTaken.arg(named.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last);
}
