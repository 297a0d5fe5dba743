#pragma once

#include "Platform/Linux/AppcastItem.h"
#include "Platform/UpdaterPort.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class UpdateUserDriver;
class WorkspacePort;

/// The update framework on Linux: reads an appcast feed over http or https, compares its newest
/// release with the running build and, when the user agrees, hands the release page to the
/// browser (the download and installation are the browser's and the user's). Runs on the main
/// thread; the delegate and the user driver are called there.
class AppcastUpdater final : public QObject, public UpdaterPort {
    Q_OBJECT

public:
    /// `defaultFeedURL` is read unless the delegate names another feed; `hostVersion` is the
    /// running build number, compared with each release's sparkle:version.
    explicit AppcastUpdater(WorkspacePort& workspace, QString defaultFeedURL, QString hostVersion,
                            QObject* parent = nullptr);
    /// The build's feed and build number.
    explicit AppcastUpdater(WorkspacePort& workspace, QObject* parent = nullptr);
    ~AppcastUpdater() override;

    /// Where offers and errors are shown (not owned). Without one, offers count as dismissed and
    /// errors only go to the program's warnings.
    void setUserDriver(UpdateUserDriver* driver) { userDriver_ = driver; }

    std::optional<QString> startUpdater(UpdaterDelegate& delegate) override;
    /// Ignored before the start and while an earlier check is still under way.
    void checkForUpdates() override;

    /// How long one feed request may stall before it counts as failed.
    static constexpr int transferTimeoutMs = 30000;
    /// How long one check may take in all: a server that trickles its answer restarts the stall
    /// time-out with every byte, never this one.
    static constexpr std::chrono::milliseconds checkDeadline{30000};
    /// The largest feed read; a bigger one is refused as soon as its size shows, unread.
    static constexpr qint64 largestFeedBytes = 4 * 1024 * 1024;

    /// Replaces checkDeadline for the checks that start from now on.
    void setCheckDeadline(std::chrono::milliseconds deadline) { checkDeadline_ = deadline; }

private:
    QString feedAddress() const;
    void feedArrived(QNetworkReply* reply);
    void offer(const AppcastItem& item);
    void install(const AppcastItem& item);
    void abort(const QString& message);

    WorkspacePort& workspace_;
    QString defaultFeedURL_;
    QString hostVersion_;
    UpdaterDelegate* delegate_ = nullptr;
    UpdateUserDriver* userDriver_ = nullptr;
    /// Made for the first check: a build that never checks runs none of the network code.
    std::unique_ptr<QNetworkAccessManager> network_;
    /// A check runs from the request until the answer, the offer's reply included.
    bool sessionInProgress_ = false;
    std::chrono::milliseconds checkDeadline_ = checkDeadline;
    /// Why the current request was cut short by the updater itself, if it was.
    std::optional<QString> cutShort_;
};
