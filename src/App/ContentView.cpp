#include "App/ContentView.h"

#include "App/SemanticColors.h"
#include "App/TabBarButton.h"
#include "App/Typography.h"
#include "Hotkey/HotkeyMonitor.h"
#include "Keyboard/AppPickerSheet.h"
#include "Keyboard/KeyBindingStore.h"
#include "Keyboard/KeyboardLayout.h"
#include "Keyboard/KeyboardView.h"
#include "Platform/Platform.h"
#include "Platform/KeyboardTapPort.h"
#include "Platform/PlatformWords.h"
#include "Platform/WorkspacePort.h"
#include "Stats/StatsView.h"
#include "Stats/UsageStatsStore.h"
#include "Updates/AboutView.h"
#include "Updates/SparkleUpdateController.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int outerInset = 4;
constexpr int keyGap = 6;
constexpr int hintHeight = 22;
constexpr int statusTrailingInset = 32;

// A tab page laid out in the tab area proper, inside the keyboard's shadow room.
QWidget* inShadowRoom(QWidget* page) {
    auto* holder = new QWidget;
    auto* layout = new QVBoxLayout(holder);
    layout->setContentsMargins(KeyboardView::shadowRoom);
    layout->setSpacing(0);
    layout->addWidget(page);
    return holder;
}
} // namespace

ContentView::ContentView(QWidget* parent) : ContentView(Services(), parent) {}

ContentView::ContentView(Services services, QWidget* parent)
    : QWidget(parent), bindings_(new KeyBindingStore(services.bindingsFile, this)),
      catalog_(new AppCatalogModel(services.scan ? services.scan : AppCatalogModel::defaultScan(), this)),
      hotkeys_(services.hotkeys ? services.hotkeys : &HotkeyMonitor::shared()),
      stats_(services.stats ? services.stats : &UsageStatsStore::shared()),
      updater_(services.updater ? services.updater : new SparkleUpdateController(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(outerInset, outerInset, outerInset, outerInset);
    column->setSpacing(4);
    // The window is exactly as large as its content: the keyboard area has a fixed size.
    column->setSizeConstraint(QLayout::SetFixedSize);

    column->addWidget(buildTabBar());

    // The tab area, plus room around it for the keyboard's shadow; the other tabs keep to the
    // area itself.
    tabContent_ = new QStackedWidget(this);
    const QSize area(keyboardWidth, qRound(KeyboardLayout::heightForWidth(keyboardWidth)));
    tabContent_->setFixedSize(area.grownBy(KeyboardView::shadowRoom));
    keyboard_ = new KeyboardView([this](const KeyboardKey& key) { openPicker(key); }, keyGap, tabContent_);
    keyboard_->setObjectName(QStringLiteral("keyboard"));
    tabContent_->addWidget(keyboard_);
    // The other tabs are made when first selected: most starts never show them.
    column->addWidget(tabContent_, 0, Qt::AlignHCenter);

    // Shown only while something stands in the way; as tall as the longest notice of any tab,
    // so switching tabs never changes the window's height.
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("notice"));
    notice_->setTextFormat(Qt::PlainText);
    notice_->setFont(Typography::callout());
    notice_->setWordWrap(true);
    notice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    notice_->setFixedWidth(keyboardWidth);
    // The paths are for copying into a file manager or a terminal.
    notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(notice_, 0, Qt::AlignHCenter);

    column->addSpacing(8);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("hint"));
    hint_->setTextFormat(Qt::RichText);
    hint_->setFont(Typography::callout());
    hint_->setFixedHeight(hintHeight);
    hint_->setAlignment(Qt::AlignCenter);
    column->addWidget(hint_);

    column->addWidget(buildFooter());

    connect(bindings_, &KeyBindingStore::bindingsChanged, this, [this] {
        keyboard_->setBindings(bindings_->bindings());
        // A desktop that hands over only the keys asked for is asked for the bound ones.
        Platform::current().keyboardTap().keysBound(bindings_->boundKeyCodes());
    });
    connect(bindings_, &KeyBindingStore::unreadableFileChanged, this, &ContentView::showNotice);
    connect(stats_, &UsageStatsStore::unreadableFileChanged, this, &ContentView::showNotice);
    connect(catalog_, &AppCatalogModel::entriesChanged, this, &ContentView::catalogChanged);
    connect(hotkeys_, &HotkeyMonitor::outcomeReported, this, [this] {
        bindingIsNewest_ = false;
        showFooter();
    });
    connect(hotkeys_, &HotkeyMonitor::permissionIssueChanged, this, &ContentView::showFooter);
    connect(hotkeys_, &HotkeyMonitor::keysTakenChanged, this, [this] {
        showTakenKeys();
        showNotice();
        showFooter();
    });

    selectTab(ConfigTab::keys);
    showTakenKeys();
    showFooter();
}

QWidget* ContentView::buildTabBar() {
    auto* bar = new QWidget(this);
    // Keeps the window at least 1024 points wide.
    bar->setMinimumWidth(1024 - 2 * outerInset);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addStretch();
    for (const ConfigTabInfo& info : allConfigTabs()) {
        auto* button = new TabBarButton(info.title, info.symbol, bar);
        button->setObjectName(QStringLiteral("tab-") + info.rawValue);
        connect(button, &TabBarButton::clicked, this, [this, tab = info.tab] { selectTab(tab); });
        row->addWidget(button);
        tabButtons_.append(button);
    }
    row->addStretch();
    return bar;
}

QWidget* ContentView::buildFooter() {
    auto* footer = new QWidget(this);
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addStretch();
    settingsButton_ = new QPushButton(QStringLiteral("Open Settings"), footer);
    settingsButton_->setObjectName(QStringLiteral("openSettings"));
    settingsButton_->setFont(Typography::system(11));
    settingsButton_->setAutoDefault(false);
    settingsButton_->setFixedWidth(settingsButton_->fontMetrics().horizontalAdvance(settingsButton_->text()) +
                                   24);
    connect(settingsButton_, &QPushButton::clicked, this, &ContentView::openSettings);
    row->addWidget(settingsButton_);
    status_ = new QLabel(footer);
    status_->setObjectName(QStringLiteral("status"));
    status_->setTextFormat(Qt::PlainText);
    status_->setFont(Typography::callout());
    status_->setContentsMargins(0, 4, statusTrailingInset, 4);
    row->addWidget(status_);
    return footer;
}

QString ContentView::keysHint() {
    return StatsView::jumpInstruction(Platform::current().words());
}

QString ContentView::defaultStatus() {
    return QStringLiteral("Click a key to assign an app to it");
}

AppPickerSheet* ContentView::picker() const {
    return picker_.data();
}

QString ContentView::statusText() const {
    if (bindingStatus_ && (bindingIsNewest_ || !hotkeys_->lastOutcome())) {
        // A binding made while the hotkeys are off must not hide that they are.
        if (const auto issue = hotkeys_->permissionIssue())
            return *bindingStatus_ + QStringLiteral(". ") +
                   troubleWords(*issue, Platform::current().words()).text;
        return *bindingStatus_;
    }
    if (hotkeys_->lastOutcome()) return *hotkeys_->lastOutcome();
    // Held keys are said until anything else happens: a stroke's outcome matters more.
    const QString taken = Platform::current().words().keysTakenText(hotkeys_->keysTaken());
    if (!taken.isEmpty()) return taken;
    return defaultStatus();
}

void ContentView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    bindings_->load();
    keyboard_->setBindings(bindings_->bindings());
}

void ContentView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {
        showHint();
        showNotice();
        showFooter();
    }
}

void ContentView::selectTab(ConfigTab tab) {
    selectedTab_ = tab;
    for (int i = 0; i < tabButtons_.size(); ++i) {
        tabButtons_[i]->setSelected(allConfigTabs()[static_cast<std::size_t>(i)].tab == tab);
    }
    tabContent_->setCurrentWidget(page(tab));
    showHint();
    showNotice();
}

QWidget* ContentView::page(ConfigTab tab) {
    if (tab == ConfigTab::keys) return keyboard_;
    QWidget*& made = tab == ConfigTab::stats ? statsPage_ : aboutPage_;
    if (made) return made;
    QWidget* content = nullptr;
    if (tab == ConfigTab::stats) {
        content = new StatsView(*stats_, [this] { stats_->reset(); });
        content->setObjectName(QStringLiteral("stats"));
    } else {
        content = new AboutView(*updater_);
        content->setObjectName(QStringLiteral("about"));
    }
    made = inShadowRoom(content);
    tabContent_->addWidget(made);
    return made;
}

QString ContentView::noticeFor(ConfigTab tab) const {
    QStringList paragraphs;
    const auto unreadable = [](const std::optional<FileIO::UnreadableFile>& file, const QString& what,
                               const QString& action) {
        const QString why = QStringLiteral("%1 could not be read: %2.").arg(what, file->reason);
        const QString name = QFileInfo(file->path).fileName();
        if (file->keptAs.isEmpty())
            return why +
                   QStringLiteral(" The file is %1. It stays as it is until %2, which keeps it beside the "
                                  "new file, so nothing is lost.")
                       .arg(file->path, action);
        return why +
               QStringLiteral(" It was kept as %1; to use it again, quit Kestavon, mend it and rename it "
                              "back to %2.")
                   .arg(file->keptAs, name);
    };
    switch (tab) {
    case ConfigTab::keys:
        if (hotkeys_->triggerKeyTaken()) paragraphs << Platform::current().words().triggerKeyTakenText();
        if (const auto& file = bindings_->unreadableFile())
            paragraphs << unreadable(file, QStringLiteral("Your key bindings"),
                                     QStringLiteral("your next change"));
        break;
    case ConfigTab::stats:
        if (const auto& file = stats_->unreadableFile())
            paragraphs << unreadable(file, QStringLiteral("Your jump counts"),
                                     QStringLiteral("the next jump or reset"));
        break;
    case ConfigTab::about:
        break;
    }
    return paragraphs.join(u'\n');
}

QString ContentView::noticeText() const {
    return noticeFor(selectedTab_);
}

void ContentView::showNotice() {
    int height = 0;
    for (const ConfigTabInfo& info : allConfigTabs()) {
        const QString text = noticeFor(info.tab);
        if (text.isEmpty()) continue;
        notice_->setText(text);
        height = std::max(height, notice_->heightForWidth(keyboardWidth));
    }
    notice_->setText(noticeText());
    notice_->setFixedHeight(height);
    notice_->setVisible(height > 0);
    QPalette colours = notice_->palette();
    colours.setColor(QPalette::WindowText, SemanticColors::destructive(palette()));
    notice_->setPalette(colours);
}

void ContentView::showTakenKeys() {
    // The caps say per key what the footer says for all of them.
    QHash<QString, QString> reasons;
    const PlatformWords& words = Platform::current().words();
    for (const QString& legend : hotkeys_->keysTaken()) {
        for (const KeyboardKey& key : KeyboardLayout::keys()) {
            if (key.legend == legend) reasons.insert(key.id(), words.keysTakenText({legend}));
        }
    }
    keyboard_->setTakenKeys(reasons);
}

void ContentView::showHint() {
    // The row keeps its height on every tab, so the window never changes size.
    hint_->setText(selectedTab_ == ConfigTab::keys
                       ? StatsView::highlightedText(keysHint(), Platform::current().words().triggerKey, palette())
                       : QString());
}

void ContentView::showFooter() {
    // Only where the platform has settings that fix the cause, or a set-up Kestavon can make,
    // does the button do anything.
    const bool setUp = hotkeys_->permissionIssue() == PermissionIssue::setUpNeeded;
    settingsButton_->setText(setUp ? QStringLiteral("Set Up") : QStringLiteral("Open Settings"));
    settingsButton_->setVisible(setUp || !fixAddress().isEmpty());
    status_->setText(statusText());
    QPalette colours = status_->palette();
    colours.setColor(QPalette::WindowText, SemanticColors::secondaryLabel(palette()));
    status_->setPalette(colours);
}

QString ContentView::fixAddress() const {
    const auto issue = hotkeys_->permissionIssue();
    return issue ? troubleWords(*issue, Platform::current().words()).fixAddress : QString();
}

void ContentView::openSettings() {
    if (hotkeys_->permissionIssue() == PermissionIssue::setUpNeeded) {
        // The hotkeys start by themselves once the set-up is in effect.
        bindingStatus_ = Platform::current().keyboardTap().setUp(bindings_->boundKeyCodes()).message;
        bindingIsNewest_ = true;
        showFooter();
        return;
    }
    const QString address = fixAddress();
    if (!address.isEmpty()) Platform::current().workspace().openURL(address);
}

void ContentView::openPicker(const KeyboardKey& key) {
    if (picker_) return;
    pendingKey_ = key;
    const auto bound = bindings_->bindings().constFind(key.id());
    std::optional<AppEntry> boundEntry;
    if (bound != bindings_->bindings().constEnd()) boundEntry = *bound;

    AppPickerSheet::Actions actions;
    actions.onBind = [this, key](const AppEntry& entry) { bind(key, entry); };
    actions.onUnbind = [this, key] { unbind(key); };
    actions.onAppear = [this] { catalog_->loadIfNeeded(); };
    actions.onRefresh = [this] { catalog_->rescan(); };
    picker_ = new AppPickerSheet(key, boundEntry, *catalog_, std::move(actions), this);
    picker_->setObjectName(QStringLiteral("picker"));
    connect(picker_, &QDialog::finished, this, [this, sheet = picker_.data()] {
        pendingKey_.reset();
        picker_ = nullptr;
        sheet->deleteLater();
    });
    picker_->open();
}

void ContentView::bind(const KeyboardKey& key, const AppEntry& entry) {
    if (!bindings_->bind(key.id(), entry)) {
        // Not a bindable key: nothing was stored, and the footer keeps what it said.
        pendingKey_.reset();
        return;
    }
    bindingStatus_ = QStringLiteral("Bound ") + key.legend + QStringLiteral(" \u2192 ") + entry.name;
    // Bound all the same: the key works once the other program lets it go.
    if (hotkeys_->keysTaken().contains(key.legend))
        *bindingStatus_ += QStringLiteral(". ") + Platform::current().words().keysTakenText({key.legend});
    bindingIsNewest_ = true;
    showFooter();
}

void ContentView::unbind(const KeyboardKey& key) {
    bindings_->unbind(key.id());
    bindingStatus_ = QStringLiteral("Unbound ") + key.legend;
    bindingIsNewest_ = true;
    showFooter();
}

void ContentView::catalogChanged() {
    const QList<AppEntry>& entries = catalog_->entries();
    if (entries.size() == catalogCount_) return;
    catalogCount_ = entries.size();
    if (catalogCount_ < 1) return;
    // A rescan may find an application moved; stored bindings follow it.
    bindings_->refreshPaths([entries](const QString& bundleId) -> std::optional<QString> {
        for (const AppEntry& entry : entries) {
            if (entry.bundleId == bundleId) return entry.path;
        }
        return std::nullopt;
    });
}
