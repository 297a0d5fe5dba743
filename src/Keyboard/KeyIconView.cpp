#include "Keyboard/KeyIconView.h"

#include "App/SemanticColors.h"
#include "App/Typography.h"
#include "Platform/BundlePort.h"
#include "Platform/Platform.h"

#include <QFileInfo>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

// Drawn once: a neutral application tile for bundles whose icon cannot be found.
QIcon genericIcon() {
    static const QIcon generic = [] {
        const QIcon themed = QIcon::fromTheme(QStringLiteral("application-x-executable"));
        if (!themed.isNull()) return themed;
        QPixmap pixmap(128, 128);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, 8, 0, 120);
        fill.setColorAt(0, QColor(0xb8, 0xc2, 0xcc));
        fill.setColorAt(1, QColor(0x7d, 0x8a, 0x96));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(10, 10, 108, 108), 24, 24);
        p.setBrush(QColor(255, 255, 255, 220));
        p.drawRoundedRect(QRectF(32, 38, 64, 52), 8, 8);
        p.setBrush(QColor(0x5a, 0x66, 0x72));
        p.drawRoundedRect(QRectF(32, 38, 64, 12), 6, 6);
        p.end();
        return QIcon(pixmap);
    }();
    return generic;
}

QIcon lookUp(const QString& path) {
    if (!Platform::isInstalled()) return genericIcon();
    const QString name = Platform::current().bundles().iconName(path);
    if (name.isEmpty()) return genericIcon();
    if (QFileInfo(name).isAbsolute()) return QFileInfo::exists(name) ? QIcon(name) : genericIcon();
    const QIcon themed = QIcon::fromTheme(name);
    return themed.isNull() ? genericIcon() : themed;
}

} // namespace

QIcon KeyIconView::icon(const AppEntry& entry) {
    // Looking an icon up reads the bundle; the keyboard repaints often. Main thread only.
    static QHash<QString, QIcon> cache;
    const auto found = cache.constFind(entry.path);
    if (found != cache.constEnd()) return *found;
    const QIcon icon = lookUp(entry.path);
    cache.insert(entry.path, icon);
    return icon;
}

std::optional<QString> KeyIconView::placeholderText(const AppEntry& entry) {
    if (QFileInfo::exists(entry.path)) return std::nullopt;
    if (entry.name.isEmpty()) return QString();
    // One user-perceived character: keep a surrogate pair together.
    const qsizetype length = entry.name.at(0).isHighSurrogate() && entry.name.size() > 1 ? 2 : 1;
    return entry.name.left(length);
}

void KeyIconView::paint(QPainter& painter, const QRectF& box, const AppEntry& entry,
                        const QPalette& palette) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (const auto letter = placeholderText(entry)) {
        QPainterPath tile;
        tile.addRoundedRect(box, 8, 8);
        painter.fillPath(tile, SemanticColors::quaternaryLabel(palette));
        painter.setFont(Typography::system(16, QFont::Medium));
        painter.setPen(SemanticColors::secondaryLabel(palette));
        painter.drawText(box, Qt::AlignCenter, *letter);
    } else {
        icon(entry).paint(&painter, box.toAlignedRect(), Qt::AlignCenter);
    }
    painter.restore();
}
