#pragma once

#include "Keyboard/AppEntry.h"
#include "Keyboard/KeyboardKey.h"

#include <QDialog>

#include <functional>
#include <optional>

class AppCatalogModel;
class AppListView;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;

/// The sheet in which the user picks the application for one key, or removes the key's
/// binding. It reads the catalog and reports choices through its actions; it changes no
/// binding itself, and dismisses itself after any choice.
class AppPickerSheet : public QDialog {
    Q_OBJECT

public:
    struct Actions {
        /// A row was clicked.
        std::function<void(const AppEntry& entry)> onBind;
        /// "Unbind this key" was clicked.
        std::function<void()> onUnbind;
        /// The sheet appeared: the catalog should scan if it never has.
        std::function<void()> onAppear;
        /// The refresh button was clicked: the catalog should scan again.
        std::function<void()> onRefresh;
    };

    /// What the body shows.
    enum class Body { progress, results, noMatch, noApps };

    AppPickerSheet(const KeyboardKey& key, std::optional<AppEntry> boundEntry, const AppCatalogModel& catalog,
                   Actions actions, QWidget* parent);

    const KeyboardKey& key() const { return key_; }
    const std::optional<AppEntry>& boundEntry() const { return boundEntry_; }
    Body body() const { return body_; }
    /// The text of the search field, as typed.
    QString keyword() const;

    /// "Bind an app to key " and the key's legend.
    static QString title(const KeyboardKey& key);
    /// The body text when the search matches nothing.
    static QString noMatchText(const QString& keyword);
    /// The line under the title on a bound key: which application is bound now.
    static QString boundNowText(const AppEntry& entry);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void showRefreshIcon();
    void choose(const AppEntry& entry);
    void unbind();

    KeyboardKey key_;
    std::optional<AppEntry> boundEntry_;
    const AppCatalogModel& catalog_;
    Actions actions_;
    Body body_ = Body::progress;
    bool appeared_ = false;

    QLineEdit* search_ = nullptr;
    QToolButton* refresh_ = nullptr;
    QStackedWidget* bodyStack_ = nullptr;
    AppListView* results_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* unbindButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
