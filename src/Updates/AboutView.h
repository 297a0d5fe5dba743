#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class SparkleUpdateController;

/// What the About tab offers, as this copy of Kestavon was built.
struct AboutOptions {
    /// The product's web site, opened by "Open Website"; without a secure web address there is
    /// no such button.
    QString websiteAddress;
    /// Whether Kestavon looks for its own updates. When it does not, the package manager brings
    /// them: the tab says so and has no check button.
    bool checksForUpdates = false;

    /// The build's web site, and update checks when the build or the user's "SUFeedURL"
    /// setting names a feed.
    static AboutOptions fromBuild();
};

/// The About tab: the application's icon, name and version, a button to the web site, the
/// update check and a status line that follows the update controller. It reads the controller
/// and passes the check request on; it keeps no state of its own. A build without a web site or
/// without an update feed leaves the matching button out.
class AboutView final : public QWidget {
    Q_OBJECT

public:
    /// As the build was configured (AboutOptions::fromBuild()).
    explicit AboutView(SparkleUpdateController& updater, QWidget* parent = nullptr);
    AboutView(SparkleUpdateController& updater, const AboutOptions& options, QWidget* parent = nullptr);

private:
    void showState();
    void openWebsite();

    SparkleUpdateController& updater_;
    AboutOptions options_;
    QPushButton* checkButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
};
