#pragma once

#include "Platform/Linux/AppcastItem.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

/// An update feed: an RSS document whose items describe releases, with the sparkle: attributes
/// on the enclosure or sparkle: elements in the item.
struct AppcastFeed {
    QList<AppcastItem> items;

    /// The items of `document`, or why it is not a feed (a message for people).
    static std::variant<AppcastFeed, QString> parse(const QByteArray& document);

    /// The item with the highest version; items without one do not count.
    std::optional<AppcastItem> newestItem() const;
};
