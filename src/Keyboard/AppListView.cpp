#include "Keyboard/AppListView.h"

#include "App/SemanticColors.h"
#include "App/Typography.h"
#include "Keyboard/KeyIconView.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyledItemDelegate>

namespace {

constexpr int rowHeight = 34;
constexpr int verticalInset = 5;
constexpr int horizontalInset = 8;
constexpr int iconSide = 24;
constexpr int itemSpacing = 10;
constexpr int lineSpacing = 2;

// Draws one row: icon, then name over bundle identifier, with a soft tint under the pointer.
class RowPainter final : public QStyledItemDelegate {
public:
    explicit RowPainter(AppListView& list) : QStyledItemDelegate(&list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {0, rowHeight + 2 * verticalInset};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (index.row() < 0 || index.row() >= list_.entries().size()) return;
        const AppEntry& entry = list_.entries().at(index.row());
        const QPalette& palette = option.palette;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);

        const bool hovered = option.state & QStyle::State_MouseOver;
        const bool current =
            (option.state & QStyle::State_HasFocus) || (option.state & QStyle::State_Selected);
        if (hovered || current) {
            QPainterPath tint;
            tint.addRoundedRect(QRectF(option.rect).adjusted(2, 1, -2, -1), 6, 6);
            painter->fillPath(tint, SemanticColors::quaternaryLabel(palette));
        }

        const QRect row =
            option.rect.adjusted(horizontalInset, verticalInset, -horizontalInset, -verticalInset);
        const QRect icon(row.left(), row.center().y() - iconSide / 2 + 1, iconSide, iconSide);
        painter->setRenderHint(QPainter::SmoothPixmapTransform);
        KeyIconView::icon(entry).paint(painter, icon, Qt::AlignCenter);

        const QFont nameFont = Typography::system(13);
        const QFont idFont = Typography::system(11);
        const int nameHeight = QFontMetrics(nameFont).height();
        const int idHeight = QFontMetrics(idFont).height();
        const int textLeft = icon.right() + 1 + itemSpacing;
        const int textWidth = row.right() - textLeft;
        const int top = row.center().y() - (nameHeight + lineSpacing + idHeight) / 2 + 1;

        painter->setFont(nameFont);
        painter->setPen(SemanticColors::primaryLabel(palette));
        painter->drawText(QRect(textLeft, top, textWidth, nameHeight), Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(nameFont).elidedText(entry.name, Qt::ElideRight, textWidth));
        painter->setFont(idFont);
        painter->setPen(SemanticColors::secondaryLabel(palette));
        painter->drawText(QRect(textLeft, top + nameHeight + lineSpacing, textWidth, idHeight),
                          Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetrics(idFont).elidedText(entry.bundleId, Qt::ElideRight, textWidth));
        painter->restore();
    }

private:
    const AppListView& list_;
};

} // namespace

AppListView::AppListView(Pick onPick, QWidget* parent) : QListWidget(parent), onPick_(std::move(onPick)) {
    setItemDelegate(new RowPainter(*this));
    setUniformItemSizes(true);
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QListWidget::clicked, this, [this](const QModelIndex& index) { pick(index.row()); });
}

void AppListView::setEntries(const QList<AppEntry>& entries) {
    if (entries == entries_) return;
    clear();
    entries_ = entries;
    for (const AppEntry& entry : entries_) {
        // The text is for accessibility and type-ahead; the row painter draws the row.
        auto* item = new QListWidgetItem(entry.name, this);
        item->setToolTip(entry.path);
        item->setData(Qt::UserRole, entry.bundleId);
    }
    scrollToTop();
}

int AppListView::rowOf(const QString& bundleId) const {
    for (int row = 0; row < entries_.size(); ++row) {
        if (entries_.at(row).bundleId == bundleId) return row;
    }
    return -1;
}

void AppListView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0) {
        pick(currentRow());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void AppListView::pick(int row) {
    if (row < 0 || row >= entries_.size() || !onPick_) return;
    onPick_(entries_.at(row));
}
