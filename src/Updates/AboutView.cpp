#include "Updates/AboutView.h"

#include "Platform/Platform.h"
#include "Platform/WorkspacePort.h"
#include "Support/BuildConfig.h"
#include "Updates/AboutCopy.h"
#include "Updates/AppVersion.h"
#include "Updates/SparkleUpdateController.h"
#include "Updates/UpdateFeedOverride.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSettings>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int iconSide = 96;
constexpr int spacing = 14;
// Long failure messages wrap within a column about as wide as the text above them.
constexpr int statusWidth = 440;
// The second title size, in pixels, as on the other tabs.
constexpr int titlePixelSize = 17;

// Stands in for the application icon while the application has none of its own.
QPixmap placeholderIcon(qreal pixelRatio) {
    QPixmap pixmap(QSize(iconSide, iconSide) * pixelRatio);
    pixmap.setDevicePixelRatio(pixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath key;
    key.addRoundedRect(QRectF(6, 6, iconSide - 12, iconSide - 12), 18, 18);
    QLinearGradient fill(0, 6, 0, iconSide - 6);
    fill.setColorAt(0, QColor(0x4a, 0x7b, 0xd8));
    fill.setColorAt(1, QColor(0x2b, 0x4f, 0xa3));
    painter.fillPath(key, fill);
    QFont font = painter.font();
    font.setPixelSize(48);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, iconSide, iconSide), Qt::AlignCenter, QStringLiteral("K"));
    return pixmap;
}

QPixmap applicationIcon(qreal pixelRatio) {
    const QIcon icon = QApplication::windowIcon();
    if (icon.isNull()) return placeholderIcon(pixelRatio);
    return icon.pixmap(QSize(iconSide, iconSide), pixelRatio);
}

// The secondary text style: the ordinary text colour, faded a little less on dark windows.
void makeSecondary(QLabel* label) {
    QPalette palette = label->palette();
    QColor colour = palette.color(QPalette::WindowText);
    const bool dark = palette.color(QPalette::Window).lightness() < colour.lightness();
    colour.setAlphaF(dark ? 0.58f : 0.52f);
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// Only a secure web page is opened from the About tab.
bool isSecureWebAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty();
}

} // namespace

AboutOptions AboutOptions::fromBuild() {
    AboutOptions options;
    options.websiteAddress = QString::fromUtf8(BuildConfig::websiteURL).trimmed();
    options.checksForUpdates = !QString::fromUtf8(BuildConfig::feedURL).trimmed().isEmpty() ||
                               UpdateFeedOverride::urlString(QSettings()).has_value();
    return options;
}

AboutView::AboutView(SparkleUpdateController& updater, QWidget* parent)
    : AboutView(updater, AboutOptions::fromBuild(), parent) {}

AboutView::AboutView(SparkleUpdateController& updater, const AboutOptions& options, QWidget* parent)
    : QWidget(parent), updater_(updater), options_(options) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(spacing);
    layout->addStretch(1);

    auto* icon = new QLabel(this);
    icon->setFixedSize(iconSide, iconSide);
    icon->setScaledContents(true);
    icon->setPixmap(applicationIcon(devicePixelRatioF()));
    layout->addWidget(icon, 0, Qt::AlignHCenter);

    auto* name = new QLabel(QStringLiteral("Kestavon"), this);
    QFont titleFont = name->font();
    titleFont.setPixelSize(titlePixelSize);
    titleFont.setBold(true);
    name->setFont(titleFont);
    layout->addWidget(name, 0, Qt::AlignHCenter);

    auto* version = new QLabel(
        QStringLiteral("Version %1 (%2)").arg(AppVersion::shortVersion(), AppVersion::build()), this);
    makeSecondary(version);
    layout->addWidget(version, 0, Qt::AlignHCenter);

    if (isSecureWebAddress(options_.websiteAddress)) {
        auto* website = new QPushButton(QStringLiteral("Open Website"), this);
        connect(website, &QPushButton::clicked, this, &AboutView::openWebsite);
        layout->addWidget(website, 0, Qt::AlignHCenter);
    }

    if (options_.checksForUpdates) {
        checkButton_ = new QPushButton(QStringLiteral("Check for Updates"), this);
        connect(checkButton_, &QPushButton::clicked, &updater_, &SparkleUpdateController::checkForUpdates);
        layout->addWidget(checkButton_, 0, Qt::AlignHCenter);
    }

    statusLabel_ = new QLabel(this);
    statusLabel_->setAlignment(Qt::AlignHCenter);
    statusLabel_->setWordWrap(true);
    statusLabel_->setTextFormat(Qt::PlainText);
    statusLabel_->setFixedWidth(statusWidth);
    makeSecondary(statusLabel_);
    // Centred by stretches rather than by alignment, so the wrapped height is honoured.
    auto* statusRow = new QHBoxLayout;
    statusRow->addStretch(1);
    statusRow->addWidget(statusLabel_);
    statusRow->addStretch(1);
    layout->addLayout(statusRow);

    layout->addStretch(1);

    if (!options_.checksForUpdates) {
        statusLabel_->setText(AboutCopy::packageManagerNote());
        return;
    }
    connect(&updater_, &SparkleUpdateController::stateChanged, this, &AboutView::showState);
    showState();
}

void AboutView::showState() {
    const UpdateCheckState& state = updater_.state();
    statusLabel_->setText(AboutCopy::status(state));
    const bool busy = state.kind() == UpdateCheckState::Kind::checking ||
                      state.kind() == UpdateCheckState::Kind::downloading;
    checkButton_->setEnabled(!busy);
}

void AboutView::openWebsite() {
    const QUrl url(options_.websiteAddress, QUrl::StrictMode);
    Platform::current().workspace().openURL(url.toString());
}
