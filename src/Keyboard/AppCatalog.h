#pragma once

#include "Keyboard/AppEntry.h"

#include <QList>
#include <QString>
#include <QStringList>

/// Finds the installed applications the user can bind, and filters them for the picker's
/// search field. Keeps nothing between calls; every function may run on any thread.
namespace AppCatalog {

/// The places scanned by default, in order, as the platform names them.
QStringList defaultRoots();

/// The applications directly inside the given roots (a root may itself be a bundle), sorted
/// by name for display. The first bundle found with an identifier wins; agent-only bundles are
/// left out. Slow: touches the file system for every candidate, so keep it off the main thread.
QList<AppEntry> scan(const QStringList& rootPaths);

/// The entries matching a search text: names beginning with it first, then names or bundle
/// identifiers containing it, each group in the given order. Case-insensitive only; a blank
/// keyword returns the entries unchanged.
QList<AppEntry> filter(const QList<AppEntry>& entries, const QString& keyword);

} // namespace AppCatalog
