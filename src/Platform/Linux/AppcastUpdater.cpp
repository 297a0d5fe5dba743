#include "Platform/Linux/AppcastUpdater.h"

#include "Platform/Linux/AppcastFeed.h"
#include "Platform/Linux/UpdateUserDriver.h"
#include "Platform/Linux/VersionComparator.h"
#include "Platform/WorkspacePort.h"
#include "Support/BuildConfig.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>
#include <QtDebug>

namespace {

QString feedFailure(const QString& reason) {
    return QStringLiteral("The update feed could not be loaded: %1").arg(reason);
}

// Only the web is opened from a feed: any other scheme could start a program of the system's
// choosing (a custom scheme handler) or show a local file.
bool isWebAddress(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("https") || scheme == QLatin1String("http"));
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
    if (defaultFeedURL_.trimmed().isEmpty() && !delegate.feedAddress())
        return QStringLiteral("No update feed address is configured (SUFeedURL).");
    delegate_ = &delegate;
    return std::nullopt;
}

void AppcastUpdater::checkForUpdates() {
    if (delegate_ == nullptr || sessionInProgress_) return;
    sessionInProgress_ = true;

    const QString address = feedAddress();
    if (!isWebAddress(address)) {
        abort(QStringLiteral("The update feed address \"%1\" is not an http or https address.").arg(address));
        return;
    }

    QNetworkRequest request(QUrl(address, QUrl::StrictMode));
    request.setTransferTimeout(transferTimeoutMs);
    // Said outright rather than left to the default: a redirect to another scheme, or from
    // https to http, is refused.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Kestavon/%1").arg(QString::fromUtf8(BuildConfig::shortVersion)));
    cutShort_.reset();
    if (!network_) network_ = std::make_unique<QNetworkAccessManager>();
    QNetworkReply* reply = network_->get(request);
    const auto cut = [this, reply](QString why) {
        if (cutShort_) return;
        cutShort_ = std::move(why);
        reply->abort();
    };
    // The declared size is known with the first bytes; a server that declares none is counted.
    connect(reply, &QNetworkReply::downloadProgress, this, [cut](qint64 received, qint64 total) {
        if (received > largestFeedBytes || total > largestFeedBytes)
            cut(QStringLiteral("the feed is larger than %1 MiB.").arg(largestFeedBytes / (1024 * 1024)));
    });
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    connect(deadline, &QTimer::timeout, this, [this, cut] {
        cut(QStringLiteral("the server did not answer in full within %1 seconds.")
                .arg(QString::number(double(checkDeadline_.count()) / 1000.0)));
    });
    deadline->start(checkDeadline_);
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        feedArrived(reply);
    });
}

QString AppcastUpdater::feedAddress() const {
    // Asked for every check, so a changed setting counts from the next check on.
    if (std::optional<QString> chosen = delegate_->feedAddress()) return *chosen;
    return defaultFeedURL_.trimmed();
}

void AppcastUpdater::feedArrived(QNetworkReply* reply) {
    if (cutShort_) {
        abort(feedFailure(*cutShort_));
        return;
    }
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
    delegate_->noUpdateFound();
    delegate_->checkFinished(std::nullopt);
}

void AppcastUpdater::offer(const AppcastItem& item) {
    if (userDriver_ == nullptr) {
        qWarning("Kestavon: an update to %s was found, but there is no window to offer it in",
                 qUtf8Printable(item.displayVersion));
        sessionInProgress_ = false;
        delegate_->checkFinished(std::nullopt);
        return;
    }
    QPointer<AppcastUpdater> self(this);
    userDriver_->showUpdateFound(item, [self, item](UpdateUserDriver::Choice choice) {
        if (!self) return;
        self->sessionInProgress_ = false;
        if (choice == UpdateUserDriver::Choice::install) self->install(item);
        self->delegate_->checkFinished(std::nullopt);
    });
}

void AppcastUpdater::install(const AppcastItem& item) {
    // The browser does the download; handing it the page is this backend's whole download.
    delegate_->downloadStarting();
    const QString page = item.pageURL();
    if (page.isEmpty()) {
        delegate_->downloadFailed(
            QStringLiteral("The update feed gives no address for version %1.").arg(item.displayVersion));
        return;
    }
    if (!isWebAddress(page)) {
        delegate_->downloadFailed(
            QStringLiteral("The update feed gives \"%1\" as the address of version %2; only http and https "
                           "addresses are opened, so it was not.")
                .arg(page, item.displayVersion));
        return;
    }
    if (!workspace_.openURL(page)) {
        delegate_->downloadFailed(QStringLiteral("The browser could not open %1.").arg(page));
        return;
    }
    delegate_->downloadFinished();
}

void AppcastUpdater::abort(const QString& message) {
    sessionInProgress_ = false;
    delegate_->checkFinished(message);
    if (userDriver_ == nullptr) {
        qWarning("Kestavon: %s", qUtf8Printable(message));
        return;
    }
    userDriver_->showUpdaterError(message);
}
