#include "Keyboard/AppPickerSheet.h"

#include "App/SemanticColors.h"
#include "App/SymbolIcon.h"
#include "App/Typography.h"
#include "Keyboard/ActivityIndicatorView.h"
#include "Keyboard/AppCatalog.h"
#include "Keyboard/AppCatalogModel.h"
#include "Keyboard/AppListView.h"

#include <QEvent>
#include <QKeyEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int sheetWidth = 460;
constexpr int inset = 20;
constexpr int listHeight = 320;
constexpr int messageHeight = 260;

QLabel* secondaryText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(Typography::callout());
    QPalette colors = label->palette();
    colors.setColor(QPalette::WindowText, SemanticColors::secondaryLabel(colors));
    label->setPalette(colors);
    return label;
}

} // namespace

AppPickerSheet::AppPickerSheet(const KeyboardKey& key, std::optional<AppEntry> boundEntry,
                               const AppCatalogModel& catalog, Actions actions, QWidget* parent)
    : QDialog(parent, Qt::Sheet), key_(key), boundEntry_(std::move(boundEntry)), catalog_(catalog),
      actions_(std::move(actions)) {
    setWindowModality(Qt::WindowModal);
    setWindowTitle(title(key_));

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(inset, inset, inset, inset);
    column->setSpacing(12);
    // The sheet is as tall as its content, which changes with what the body shows.
    column->setSizeConstraint(QLayout::SetFixedSize);

    auto* heading = new QLabel(title(key_), this);
    heading->setTextFormat(Qt::PlainText);
    heading->setFont(Typography::headline());
    column->addWidget(heading);
    if (boundEntry_) {
        // Choosing replaces this one, so the user sees what would be lost.
        auto* current = secondaryText(boundNowText(*boundEntry_), this);
        current->setObjectName(QStringLiteral("boundNow"));
        column->addWidget(current);
    }

    auto* searchRow = new QHBoxLayout;
    searchRow->setSpacing(8);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(QStringLiteral("Search apps"));
    search_->setClearButtonEnabled(true);
    searchRow->addWidget(search_, 1);
    refresh_ = new QToolButton(this);
    refresh_->setObjectName(QStringLiteral("refresh"));
    refresh_->setText(QStringLiteral("Refresh"));
    refresh_->setToolTip(QStringLiteral("Rescan installed apps"));
    refresh_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    refresh_->setAutoRaise(true);
    searchRow->addWidget(refresh_);
    column->addLayout(searchRow);

    bodyStack_ = new QStackedWidget(this);
    bodyStack_->setFixedWidth(sheetWidth - 2 * inset);

    auto* progress = new QWidget(bodyStack_);
    auto* progressRow = new QHBoxLayout(progress);
    progressRow->setSpacing(8);
    progressRow->addStretch();
    progressRow->addWidget(new ActivityIndicatorView(progress));
    progressRow->addWidget(secondaryText(QStringLiteral("Scanning installed apps…"), progress));
    progressRow->addStretch();
    bodyStack_->addWidget(progress);

    results_ = new AppListView([this](const AppEntry& entry) { choose(entry); }, bodyStack_);
    results_->setObjectName(QStringLiteral("results"));
    bodyStack_->addWidget(results_);

    message_ = secondaryText(QString(), bodyStack_);
    message_->setObjectName(QStringLiteral("message"));
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    bodyStack_->addWidget(message_);
    column->addWidget(bodyStack_);

    auto* buttons = new QHBoxLayout;
    unbindButton_ = new QPushButton(QStringLiteral("Unbind this key"), this);
    unbindButton_->setObjectName(QStringLiteral("unbind"));
    unbindButton_->setEnabled(boundEntry_.has_value());
    QPalette destructive = unbindButton_->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        destructive.setColor(group, QPalette::ButtonText, SemanticColors::destructive(destructive));
    }
    unbindButton_->setPalette(destructive);
    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancel"));
    // Return in the search field must never unbind or cancel by accident; Escape cancels.
    unbindButton_->setAutoDefault(false);
    cancelButton_->setAutoDefault(false);
    buttons->addWidget(unbindButton_);
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    column->addLayout(buttons);

    showRefreshIcon();
    connect(search_, &QLineEdit::textChanged, this, &AppPickerSheet::refresh);
    search_->installEventFilter(this);
    connect(refresh_, &QToolButton::clicked, this, [this] {
        if (actions_.onRefresh) actions_.onRefresh();
    });
    connect(unbindButton_, &QPushButton::clicked, this, &AppPickerSheet::unbind);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(&catalog_, &AppCatalogModel::entriesChanged, this, &AppPickerSheet::refresh);
    connect(&catalog_, &AppCatalogModel::isLoadingChanged, this, &AppPickerSheet::refresh);
    refresh();
}

QString AppPickerSheet::keyword() const {
    return search_->text();
}

QString AppPickerSheet::title(const KeyboardKey& key) {
    return QStringLiteral("Bind an app to key ") + key.legend;
}

QString AppPickerSheet::boundNowText(const AppEntry& entry) {
    return QStringLiteral("Now bound to ") + entry.name;
}

QString AppPickerSheet::noMatchText(const QString& keyword) {
    return QStringLiteral("No apps matching \u201C") + keyword + QStringLiteral("\u201D");
}

void AppPickerSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (appeared_) return;
    appeared_ = true;
    if (actions_.onAppear) actions_.onAppear();
    search_->setFocus(Qt::OtherFocusReason);
}

void AppPickerSheet::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) showRefreshIcon();
}

bool AppPickerSheet::eventFilter(QObject* watched, QEvent* event) {
    // Down in the search field goes on to the results, where Return picks the current row.
    if (watched == search_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down && body_ == Body::results) {
        results_->setFocus(Qt::TabFocusReason);
        results_->setCurrentRow(0);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void AppPickerSheet::showRefreshIcon() {
    refresh_->setIcon(SymbolIcon::icon(QStringLiteral("arrow.clockwise"),
                                       SemanticColors::primaryLabel(palette()), 14, devicePixelRatioF()));
}

void AppPickerSheet::refresh() {
    refresh_->setEnabled(!catalog_.isLoading());
    if (catalog_.isLoading()) {
        body_ = Body::progress;
        bodyStack_->setCurrentIndex(0);
        bodyStack_->setFixedHeight(messageHeight);
        return;
    }
    const QList<AppEntry> matches = AppCatalog::filter(catalog_.entries(), search_->text());
    if (!matches.isEmpty()) {
        body_ = Body::results;
        results_->setEntries(matches);
        bodyStack_->setCurrentWidget(results_);
        bodyStack_->setFixedHeight(listHeight);
        return;
    }
    results_->setEntries({});
    body_ = catalog_.entries().isEmpty() ? Body::noApps : Body::noMatch;
    message_->setText(body_ == Body::noApps ? QStringLiteral("No installed apps found")
                                            : noMatchText(search_->text()));
    bodyStack_->setCurrentWidget(message_);
    bodyStack_->setFixedHeight(messageHeight);
}

void AppPickerSheet::choose(const AppEntry& entry) {
    if (actions_.onBind) actions_.onBind(entry);
    accept();
}

void AppPickerSheet::unbind() {
    if (actions_.onUnbind) actions_.onUnbind();
    accept();
}
