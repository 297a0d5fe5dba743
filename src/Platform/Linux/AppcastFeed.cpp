#include "Platform/Linux/AppcastFeed.h"

#include "Platform/Linux/VersionComparator.h"

#include <QXmlStreamReader>

namespace {

// Feeds in the wild name the sparkle: prefix without always declaring it, so names are matched
// as written rather than by namespace.
const QString versionName = QStringLiteral("sparkle:version");
const QString shortVersionName = QStringLiteral("sparkle:shortVersionString");
const QString releaseNotesName = QStringLiteral("sparkle:releaseNotesLink");

void readEnclosure(const QXmlStreamAttributes& attributes, AppcastItem& item) {
    item.enclosureURL = attributes.value(QStringLiteral("url")).toString().trimmed();
    if (attributes.hasAttribute(versionName))
        item.version = attributes.value(versionName).toString().trimmed();
    if (attributes.hasAttribute(shortVersionName))
        item.displayVersion = attributes.value(shortVersionName).toString().trimmed();
}

// Reads one <item>, the reader standing on its start element; elements override the
// enclosure's attributes.
AppcastItem readItem(QXmlStreamReader& reader) {
    AppcastItem item;
    QString elementVersion;
    QString elementShortVersion;
    while (reader.readNextStartElement()) {
        const QStringView name = reader.qualifiedName();
        if (name == QLatin1String("enclosure")) {
            readEnclosure(reader.attributes(), item);
            reader.skipCurrentElement();
        } else if (name == QLatin1String("title")) {
            item.title = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == QLatin1String("link")) {
            item.link = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == versionName) {
            elementVersion = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == shortVersionName) {
            elementShortVersion = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else if (name == releaseNotesName) {
            item.releaseNotesLink = reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
        } else {
            reader.skipCurrentElement();
        }
    }
    if (!elementVersion.isEmpty()) item.version = elementVersion;
    if (!elementShortVersion.isEmpty()) item.displayVersion = elementShortVersion;
    if (item.displayVersion.isEmpty()) item.displayVersion = item.version;
    return item;
}

} // namespace

std::variant<AppcastFeed, QString> AppcastFeed::parse(const QByteArray& document) {
    QXmlStreamReader reader(document);
    reader.setNamespaceProcessing(false);
    if (!reader.readNextStartElement()) {
        if (reader.hasError())
            return QStringLiteral("%1 (line %2).").arg(reader.errorString()).arg(reader.lineNumber());
        return QStringLiteral("The document is empty.");
    }
    if (reader.qualifiedName() != QLatin1String("rss"))
        return QStringLiteral("The document is not an RSS feed (its root element is <%1>).")
            .arg(reader.qualifiedName());

    AppcastFeed feed;
    bool sawChannel = false;
    while (reader.readNextStartElement()) {
        if (reader.qualifiedName() != QLatin1String("channel")) {
            reader.skipCurrentElement();
            continue;
        }
        sawChannel = true;
        while (reader.readNextStartElement()) {
            if (reader.qualifiedName() == QLatin1String("item")) {
                feed.items.push_back(readItem(reader));
            } else {
                reader.skipCurrentElement();
            }
        }
    }
    // Reading on to the end catches a broken document past the last item, too.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        return QStringLiteral("%1 (line %2).").arg(reader.errorString()).arg(reader.lineNumber());
    if (!sawChannel) return QStringLiteral("The RSS document has no <channel>.");
    return feed;
}

std::optional<AppcastItem> AppcastFeed::newestItem() const {
    std::optional<AppcastItem> newest;
    for (const AppcastItem& item : items) {
        if (item.version.isEmpty()) continue;
        if (!newest || VersionComparator::compare(item.version, newest->version) > 0) newest = item;
    }
    return newest;
}
