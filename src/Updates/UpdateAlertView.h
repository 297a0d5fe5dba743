#pragma once

#include "Platform/Linux/UpdateUserDriver.h"

#include <QPointer>
#include <QWidget>

/// The appcast updater's windows: a question when a newer release is found and a warning when a
/// check fails, as non-blocking message boxes over `parent`.
class UpdateAlertView final : public UpdateUserDriver {
public:
    explicit UpdateAlertView(QWidget* parent = nullptr) : parent_(parent) {}

    void showUpdateFound(const AppcastItem& item, Reply reply) override;
    void showUpdaterError(const QString& message) override;

    /// The offer's buttons.
    static QString installButtonText() { return QStringLiteral("Download"); }
    static QString dismissButtonText() { return QStringLiteral("Not Now"); }

private:
    QPointer<QWidget> parent_;
};
