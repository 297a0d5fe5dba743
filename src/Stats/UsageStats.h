#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

/// The counters of successful jumps: a grand total and one counter per application.
struct UsageStats {
    struct AppCount {
        /// The application's name as last reported.
        QString name;
        std::int64_t count = 0;

        bool operator==(const AppCount&) const = default;
    };

    std::int64_t totalSuccess = 0;
    /// Keyed by bundle identifier, or by name for applications reported without one. Ordered,
    /// so the file comes out the same for the same counters.
    std::map<QString, AppCount> perApp;

    bool operator==(const UsageStats&) const = default;

    /// The file is read whole at start-up; a larger one counts as unreadable.
    static constexpr std::int64_t maxFileBytes = 16 * 1024 * 1024;

    /// The counters after one more jump. An empty bundle identifier counts under the name; the
    /// latest name wins, so a renamed application shows its current name.
    static UsageStats incremented(const UsageStats& stats, const QString& appName, const QString& bundleID);
    /// At most `limit` entries (none for a negative limit), most jumps first; equal counts by
    /// name in plain code-unit order, so upper case sorts before lower case.
    static std::vector<AppCount> topApps(const UsageStats& stats, qsizetype limit);

    /// Reads a counters file. Never fails: a missing, unreadable, oversized or malformed file
    /// gives zero counters. `problem`, when given, receives why a file that is there could not
    /// be used.
    static UsageStats snapshot(const QString& path, QString* problem = nullptr);
    /// Writes the file atomically, creating missing folders. Returns the failure's
    /// description, or nothing on success.
    static std::optional<QString> save(const UsageStats& stats, const QString& path);

    /// The file's bytes: {"totalSuccess":N,"perApp":{"key":{"name":"..","count":N}}}, compact,
    /// members in key order.
    static QByteArray encode(const UsageStats& stats);
    /// Nothing unless both top-level members and both members of every entry are present and
    /// of their type, and every count is a whole number from 0 to the signed 64-bit maximum.
    static std::optional<UsageStats> decode(const QByteArray& json, QString* problem = nullptr);
};
