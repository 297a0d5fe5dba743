#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class SparkleUpdateController;

/// The About tab: the application's icon, name and version, a button to the web site, the
/// update check and a status line that follows the update controller. It reads the controller
/// and passes the check request on; it keeps no state of its own.
class AboutView final : public QWidget {
    Q_OBJECT

public:
    explicit AboutView(SparkleUpdateController& updater, QWidget* parent = nullptr);

    /// The product's web site, opened by "Open Website".
    static QString websiteAddress();

private:
    void showState();
    void openWebsite();

    SparkleUpdateController& updater_;
    QPushButton* checkButton_ = nullptr;
    QLabel* statusLabel_ = nullptr;
};
