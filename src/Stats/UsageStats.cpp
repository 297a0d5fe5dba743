#include "UsageStats.h"

#include "Support/FileIO.h"
#include "Support/JsonWriter.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace {

// Saturates rather than wraps: a counter at its maximum stays there instead of going negative.
std::int64_t plusOne(std::int64_t value) {
    return value == std::numeric_limits<std::int64_t>::max() ? value : value + 1;
}

// A count as the file holds it. The JSON reader keeps whole numbers that fit a signed 64-bit
// integer as such and anything larger as a rounded double, so a double here is either a
// fraction or an overflowed count; both, and negative counts, make the file unreadable:
// no jump could have produced them.
std::optional<std::int64_t> count(const QJsonValue& json) {
    if (!json.isDouble()) return std::nullopt;
    const QVariant held = json.toVariant();
    if (held.typeId() != QMetaType::LongLong) return std::nullopt;
    const qint64 value = held.toLongLong();
    if (value < 0) return std::nullopt;
    return value;
}

// The JSON reader lets a lone low surrogate escape ("\udc00") through, which UTF-8 cannot hold:
// saving would write '?' in its place, so two keys that differ only there would come out as
// one key written twice. Repairing the text as saving would keeps the counters equal to the file.
QString repaired(const QString& text) {
    return QStringView(text).isValidUtf16() ? text : QString::fromUtf8(text.toUtf8());
}

} // namespace

UsageStats UsageStats::incremented(const UsageStats& stats, const QString& appName, const QString& bundleID) {
    UsageStats next = stats;
    const QString& key = bundleID.isEmpty() ? appName : bundleID;
    next.totalSuccess = plusOne(next.totalSuccess);
    AppCount& entry = next.perApp.try_emplace(key, AppCount{appName, 0}).first->second;
    entry.count = plusOne(entry.count);
    entry.name = appName;
    return next;
}

std::vector<UsageStats::AppCount> UsageStats::topApps(const UsageStats& stats, qsizetype limit) {
    std::vector<AppCount> ranked;
    ranked.reserve(stats.perApp.size());
    for (const auto& [key, entry] : stats.perApp)
        ranked.push_back(entry);
    std::stable_sort(ranked.begin(), ranked.end(), [](const AppCount& a, const AppCount& b) {
        if (a.count != b.count) return a.count > b.count;
        return a.name < b.name;
    });
    const auto kept = static_cast<std::size_t>(std::max<qsizetype>(limit, 0));
    if (ranked.size() > kept) ranked.resize(kept);
    return ranked;
}

UsageStats UsageStats::snapshot(const QString& path, QString* problem) {
    const FileIO::ReadResult file = FileIO::read(path, maxFileBytes);
    if (problem && file.status == FileIO::ReadResult::Status::unreadable) *problem = file.problem;
    if (problem && file.status == FileIO::ReadResult::Status::tooLarge)
        *problem = QStringLiteral("it is larger than 16 MiB");
    if (file.status != FileIO::ReadResult::Status::ok) return {};
    return decode(file.bytes, problem).value_or(UsageStats{});
}

std::optional<QString> UsageStats::save(const UsageStats& stats, const QString& path) {
    return FileIO::writeAtomically(path, encode(stats));
}

QByteArray UsageStats::encode(const UsageStats& stats) {
    JsonWriter out;
    out.beginObject();
    out.key(u"totalSuccess").value(stats.totalSuccess);
    out.key(u"perApp").beginObject();
    for (const auto& [key, entry] : stats.perApp) {
        out.key(key).beginObject();
        out.key(u"name").value(entry.name);
        out.key(u"count").value(entry.count);
        out.endObject();
    }
    out.endObject();
    out.endObject();
    return out.bytes();
}

std::optional<UsageStats> UsageStats::decode(const QByteArray& json, QString* problem) {
    const auto fail = [problem](const QString& why) -> std::optional<UsageStats> {
        if (problem) *problem = why;
        return std::nullopt;
    };
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return fail(QStringLiteral("it is not valid JSON (%1 at offset %2)")
                        .arg(error.errorString())
                        .arg(error.offset));
    if (!document.isObject()) return fail(QStringLiteral("it holds no counters object"));
    const QJsonObject root = document.object();

    UsageStats stats;
    const auto total = count(root.value(u"totalSuccess"));
    const QJsonValue perApp = root.value(u"perApp");
    if (!total) return fail(QStringLiteral("its \"totalSuccess\" is missing or not a count"));
    if (!perApp.isObject()) return fail(QStringLiteral("its \"perApp\" is missing or not an object"));
    stats.totalSuccess = *total;

    const QJsonObject entries = perApp.toObject();
    for (auto it = entries.constBegin(); it != entries.constEnd(); ++it) {
        const QJsonObject entry = it.value().toObject();
        const QJsonValue name = entry.value(u"name");
        const auto entryCount = count(entry.value(u"count"));
        if (!it.value().isObject() || !name.isString() || !entryCount)
            return fail(
                QStringLiteral("the entry \"%1\" has no proper name and count").arg(it.key().left(40)));
        // Keys that become equal once repaired share one counter, which keeps both counts.
        AppCount& app =
            stats.perApp.try_emplace(repaired(it.key()), AppCount{repaired(name.toString()), 0}).first->second;
        app.count = *entryCount > std::numeric_limits<std::int64_t>::max() - app.count
                        ? std::numeric_limits<std::int64_t>::max()
                        : app.count + *entryCount;
    }
    return stats;
}
