#pragma once

#include "Keyboard/AppEntry.h"

#include <QList>
#include <QListWidget>

#include <functional>

/// The picker's result list: one row per application with its icon, name and bundle
/// identifier. The whole row is clickable; a click reports the row's application.
class AppListView : public QListWidget {
    Q_OBJECT

public:
    using Pick = std::function<void(const AppEntry& entry)>;

    explicit AppListView(Pick onPick, QWidget* parent = nullptr);

    /// Replaces the rows; unchanged entries keep the list as it is.
    void setEntries(const QList<AppEntry>& entries);
    const QList<AppEntry>& entries() const { return entries_; }
    /// The row of the application with this bundle identifier, or -1.
    int rowOf(const QString& bundleId) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void pick(int row);

    Pick onPick_;
    QList<AppEntry> entries_;
};
