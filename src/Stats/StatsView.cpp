#include "Stats/StatsView.h"

#include "App/SemanticColors.h"
#include "App/SymbolIcon.h"
#include "App/Typography.h"
#include "Platform/Platform.h"
#include "Platform/PlatformWords.h"
#include "Stats/DigitsView.h"
#include "Stats/TopAppRowView.h"
#include "Stats/UsageStatsStore.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int statsColumnWidth = 380;
constexpr int topAppsLimit = 5;
constexpr int symbolSide = 16;
constexpr int symbolFrameWidth = 18;

QLabel* label(const QString& text, const QFont& font, QWidget* parent) {
    auto* shown = new QLabel(text, parent);
    shown->setTextFormat(Qt::PlainText);
    shown->setFont(font);
    return shown;
}

void setTextColour(QWidget* widget, const QColor& colour) {
    QPalette colours = widget->palette();
    colours.setColor(QPalette::WindowText, colour);
    widget->setPalette(colours);
}

} // namespace

StatsView::StatsView(const UsageStatsStore& store, std::function<void()> onReset, QWidget* parent)
    : QWidget(parent), store_(store), onReset_(std::move(onReset)),
      triggerKey_(Platform::current().words().triggerKey), instructions_(instructions(Platform::current().words())) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(32, 20, 32, 0);
    row->setSpacing(28);
    row->setAlignment(Qt::AlignTop);
    row->addWidget(buildStatsColumn(), 0, Qt::AlignTop);
    divider_ = new QFrame(this);
    divider_->setFrameShape(QFrame::VLine);
    divider_->setFrameShadow(QFrame::Plain);
    row->addWidget(divider_);
    row->addWidget(buildInstructionColumn(), 1, Qt::AlignTop);

    connect(&store_, &UsageStatsStore::statsChanged, this, &StatsView::showStats);
    applyColours();
    showStats();
}

QWidget* StatsView::buildStatsColumn() {
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("statsColumn"));
    column->setFixedWidth(statsColumnWidth);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(8);

    auto* header = new QHBoxLayout;
    header->addWidget(label(QStringLiteral("Successful jumps"), Typography::headline(), column));
    header->addStretch();
    auto* reset = new QPushButton(QStringLiteral("Reset"), column);
    reset->setObjectName(QStringLiteral("reset"));
    reset->setFont(Typography::system(11));
    reset->setAutoDefault(false);
    // A small control: the style's minimum button width would make it look like a main action.
    reset->setFixedWidth(reset->fontMetrics().horizontalAdvance(reset->text()) + 24);
    connect(reset, &QPushButton::clicked, this, [this] {
        if (onReset_) onReset_();
    });
    header->addWidget(reset, 0, Qt::AlignVCenter);
    stack->addLayout(header);

    total_ = new DigitsView(Typography::system(44, QFont::DemiBold), column);
    total_->setObjectName(QStringLiteral("total"));
    stack->addWidget(total_);

    summary_ = label(QString(), Typography::callout(), column);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    stack->addWidget(summary_);

    topApps_ = new QWidget(column);
    topApps_->setObjectName(QStringLiteral("topApps"));
    topRows_ = new QVBoxLayout(topApps_);
    topRows_->setContentsMargins(0, 10, 0, 0);
    topRows_->setSpacing(8);
    topRows_->addWidget(label(QStringLiteral("Top apps"), Typography::headline(), topApps_));
    stack->addWidget(topApps_);
    stack->addStretch();
    return column;
}

QWidget* StatsView::buildInstructionColumn() {
    auto* column = new QWidget(this);
    auto* stack = new QVBoxLayout(column);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(12);
    stack->addWidget(label(QStringLiteral("How to use Kestavon"), Typography::headline(), column));
    for (int i = 0; i < instructions_.size(); ++i) {
        auto* line = new QHBoxLayout;
        line->setSpacing(8);
        auto* symbol = new QLabel(column);
        symbol->setFixedWidth(symbolFrameWidth);
        symbol->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        auto* text = new QLabel(column);
        text->setObjectName(QStringLiteral("instruction%1").arg(i));
        text->setTextFormat(Qt::RichText);
        text->setFont(Typography::callout());
        text->setWordWrap(true);
        line->addWidget(symbol, 0, Qt::AlignTop);
        line->addWidget(text, 1, Qt::AlignTop);
        stack->addLayout(line);
        instructionSymbols_.append(symbol);
        instructionTexts_.append(text);
    }
    stack->addStretch();
    return column;
}

QList<StatsView::Instruction> StatsView::instructions(const PlatformWords& words) {
    QList<Instruction> list{
        {QStringLiteral("keyboard"),
         QStringLiteral("Bind apps to keys on the Keys tab: click a key, then pick an app.")},
        {QStringLiteral("arrow.right.circle"), jumpInstruction(words)},
    };
    // A desktop with nothing to set up says nothing.
    if (!words.setupTip.isEmpty()) list.append({words.setupTipSymbol, words.setupTip});
    return list;
}

QString StatsView::jumpInstruction(const PlatformWords& words) {
    return QStringLiteral("Hold the ") + words.triggerKey +
           QStringLiteral(" key and press a bound key to jump to that app.");
}

QList<StatsView::Segment> StatsView::highlightedSegments(const QString& text, const QString& phrase) {
    const qsizetype at = phrase.isEmpty() ? -1 : text.indexOf(phrase, 0, Qt::CaseSensitive);
    if (at < 0) return {{text, false}};
    const qsizetype after = at + phrase.size();
    return {{text.left(at), false}, {text.mid(at, phrase.size()), true}, {text.mid(after), false}};
}

QString StatsView::highlightedText(const QString& text, const QString& phrase, const QPalette& palette) {
    const QString accent = SemanticColors::accent(palette).name(QColor::HexRgb);
    QString rich;
    for (const Segment& segment : highlightedSegments(text, phrase)) {
        const QString escaped = segment.text.toHtmlEscaped();
        rich += segment.highlight ? QStringLiteral("<span style=\"color:%1\">%2</span>").arg(accent, escaped)
                                  : escaped;
    }
    return rich;
}

void StatsView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Our own colour tweaks change palettes too; only a theme change needs new colours.
    if (event->type() == QEvent::PaletteChange && !applyingColours_) applyColours();
}

void StatsView::applyColours() {
    applyingColours_ = true;
    const QPalette& colours = palette();
    setTextColour(summary_, SemanticColors::secondaryLabel(colours));
    setTextColour(divider_, SemanticColors::separator(colours));
    for (int i = 0; i < instructions_.size(); ++i) {
        const Instruction& instruction = instructions_.at(i);
        instructionTexts_[i]->setText(highlightedText(instruction.text, triggerKey_, colours));
        const QIcon icon = SymbolIcon::icon(instruction.symbol, SemanticColors::secondaryLabel(colours),
                                            symbolSide, devicePixelRatioF());
        instructionSymbols_[i]->setPixmap(icon.pixmap(symbolSide, symbolSide));
    }
    applyingColours_ = false;
}

void StatsView::showStats() {
    const UsageStats& stats = store_.stats();
    total_->setText(QString::number(stats.totalSuccess));
    summary_->setText(
        stats.totalSuccess == 0
            ? QStringLiteral("No successful jumps yet. Jump to an app and it will show up here.")
            : QStringLiteral("Counted when a jump brings the app to the front."));

    // Rows after the heading are rebuilt from the ranking each time.
    while (topRows_->count() > 1) {
        QLayoutItem* item = topRows_->takeAt(1);
        delete item->widget();
        delete item;
    }
    const auto ranked = UsageStats::topApps(stats, topAppsLimit);
    for (const UsageStats::AppCount& app : ranked) {
        topRows_->addWidget(new TopAppRowView(app.name, app.count, topApps_));
    }
    topApps_->setVisible(!ranked.empty());
}
