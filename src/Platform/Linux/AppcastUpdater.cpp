#include "Platform/Linux/AppcastUpdater.h"

#include "Platform/Linux/AppcastFeed.h"
#include "Platform/Linux/UpdateUserDriver.h"
#include "Platform/Linux/VersionComparator.h"
#include "Platform/WorkspacePort.h"
#include "Support/BuildConfig.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QUrl>
#include <QtDebug>

namespace {

QString feedFailure(const QString& reason) {
    return QStringLiteral("The update feed could not be loaded: %1").arg(reason);
}

} // namespace

AppcastUpdater::AppcastUpdater(WorkspacePort& workspace, QString defaultFeedURL, QString hostVersion,
                               QObject* parent)
    : QObject(parent), workspace_(workspace), defaultFeedURL_(std::move(defaultFeedURL)),
      hostVersion_(std::move(hostVersion)) {}

AppcastUpdater::AppcastUpdater(WorkspacePort& workspace, QObject* parent)
    : AppcastUpdater(workspace, QString::fromUtf8(BuildConfig::feedURL),
                     QString::fromUtf8(BuildConfig::buildNumber), parent) {}

AppcastUpdater::~AppcastUpdater() = default;

std::optional<QString> AppcastUpdater::startUpdater(UpdaterDelegate& delegate) {
    if (delegate_ != nullptr) return std::nullopt;
    if (hostVersion_.trimmed().isEmpty())
        return QStringLiteral("The application's build number is unknown, so updates cannot be compared.");
    if (defaultFeedURL_.trimmed().isEmpty() && !delegate.feedURLStringForUpdater())
        return QStringLiteral("No update feed address is configured (SUFeedURL).");
    delegate_ = &delegate;
    return std::nullopt;
}

void AppcastUpdater::checkForUpdates() {
    if (delegate_ == nullptr || sessionInProgress_) return;
    sessionInProgress_ = true;

    const QString address = feedAddress();
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http"))) {
        abort(QStringLiteral("The update feed address \"%1\" is not an http or https address.").arg(address));
        return;
    }

    QNetworkRequest request(url);
    request.setTransferTimeout(transferTimeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Kestavon/%1").arg(QString::fromUtf8(BuildConfig::shortVersion)));
    QNetworkReply* reply = network_.get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        feedArrived(reply);
    });
}

QString AppcastUpdater::feedAddress() const {
    // Asked for every check, so a changed setting counts from the next check on.
    if (std::optional<QString> chosen = delegate_->feedURLStringForUpdater()) return *chosen;
    return defaultFeedURL_.trimmed();
}

void AppcastUpdater::feedArrived(QNetworkReply* reply) {
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
        const QString phrase = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        abort(feedFailure(
            phrase.isEmpty()
                ? QStringLiteral("the server answered HTTP %1.").arg(status.toInt())
                : QStringLiteral("the server answered HTTP %1 (%2).").arg(status.toInt()).arg(phrase)));
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        abort(feedFailure(reply->errorString()));
        return;
    }

    const std::variant<AppcastFeed, QString> parsed = AppcastFeed::parse(reply->readAll());
    if (const QString* problem = std::get_if<QString>(&parsed)) {
        abort(QStringLiteral("The update feed is not a valid appcast: %1").arg(*problem));
        return;
    }
    const std::optional<AppcastItem> newest = std::get<AppcastFeed>(parsed).newestItem();
    if (newest && VersionComparator::compare(newest->version, hostVersion_) > 0) {
        offer(*newest);
        return;
    }
    sessionInProgress_ = false;
    delegate_->updaterDidNotFindUpdate();
    delegate_->updaterDidFinishUpdateCycle(std::nullopt);
}

void AppcastUpdater::offer(const AppcastItem& item) {
    if (userDriver_ == nullptr) {
        qWarning("Kestavon: an update to %s was found, but there is no window to offer it in",
                 qUtf8Printable(item.displayVersion));
        sessionInProgress_ = false;
        delegate_->updaterDidFinishUpdateCycle(std::nullopt);
        return;
    }
    QPointer<AppcastUpdater> self(this);
    userDriver_->showUpdateFound(item, [self, item](UpdateUserDriver::Choice choice) {
        if (!self) return;
        self->sessionInProgress_ = false;
        if (choice == UpdateUserDriver::Choice::install) self->install(item);
        self->delegate_->updaterDidFinishUpdateCycle(std::nullopt);
    });
}

void AppcastUpdater::install(const AppcastItem& item) {
    // The browser does the download; handing it the page is this backend's whole download.
    delegate_->updaterWillDownloadUpdate();
    const QString page = item.pageURL();
    if (page.isEmpty()) {
        delegate_->updaterFailedToDownloadUpdate(
            QStringLiteral("The update feed gives no address for version %1.").arg(item.displayVersion));
        return;
    }
    if (!workspace_.openURL(page)) {
        delegate_->updaterFailedToDownloadUpdate(QStringLiteral("The browser could not open %1.").arg(page));
        return;
    }
    delegate_->updaterDidDownloadUpdate();
}

void AppcastUpdater::abort(const QString& message) {
    sessionInProgress_ = false;
    delegate_->updaterDidFinishUpdateCycle(message);
    if (userDriver_ == nullptr) {
        qWarning("Kestavon: %s", qUtf8Printable(message));
        return;
    }
    userDriver_->showUpdaterError(message);
}
