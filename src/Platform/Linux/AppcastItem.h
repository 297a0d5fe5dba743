#pragma once

#include <QString>

/// One release in an update feed.
struct AppcastItem {
    QString title;
    /// sparkle:version: the build number, compared with the running build's.
    QString version;
    /// sparkle:shortVersionString, or the version when the feed gives none: shown to people.
    QString displayVersion;
    /// The item's <link>: its release page.
    QString link;
    /// The enclosure's url: the download itself.
    QString enclosureURL;
    /// sparkle:releaseNotesLink.
    QString releaseNotesLink;

    /// Where the browser goes to fetch this release: the release page, else the download, else
    /// the release notes; empty when the feed gives none.
    QString pageURL() const {
        if (!link.isEmpty()) return link;
        if (!enclosureURL.isEmpty()) return enclosureURL;
        return releaseNotesLink;
    }

    bool operator==(const AppcastItem&) const = default;
};
