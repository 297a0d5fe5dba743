#include "Updates/AppVersion.h"

#include "Support/BuildConfig.h"

namespace AppVersion {

namespace {

QString orQuestionMark(const char* recorded) {
    QString text = QString::fromUtf8(recorded).trimmed();
    return text.isEmpty() ? QStringLiteral("?") : text;
}

} // namespace

const QString& shortVersion() {
    static const QString value = orQuestionMark(BuildConfig::shortVersion);
    return value;
}

const QString& build() {
    static const QString value = orQuestionMark(BuildConfig::buildNumber);
    return value;
}

} // namespace AppVersion
