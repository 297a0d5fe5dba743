#include "Updates/UpdateAlertView.h"

#include "Updates/AppVersion.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace {

// The texts come from the feed and its server (a version, a reason phrase): shown as written,
// never as markup with links, images or styles of the server's choosing. Set on the labels
// themselves, after the informative text, whose label the box makes with it and would leave
// to guess the format.
void plain(QMessageBox* box) {
    for (QLabel* label : box->findChildren<QLabel*>()) label->setTextFormat(Qt::PlainText);
}

} // namespace

void UpdateAlertView::showUpdateFound(const AppcastItem& item, Reply reply) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Software Update"),
                                QStringLiteral("A new version of Kestavon is available."),
                                QMessageBox::NoButton, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(QStringLiteral("Kestavon %1 is available; you have %2. Open its download page?")
                                .arg(item.displayVersion, AppVersion::shortVersion()));
    plain(box);
    QPushButton* install = box->addButton(installButtonText(), QMessageBox::AcceptRole);
    box->addButton(dismissButtonText(), QMessageBox::RejectRole);
    box->setDefaultButton(install);
    // Closing the box any other way counts as "Not Now"; the reply is given exactly once.
    QObject::connect(box, &QMessageBox::finished, box, [box, install, reply = std::move(reply)] {
        reply(box->clickedButton() == install ? Choice::install : Choice::dismiss);
    });
    box->open();
}

void UpdateAlertView::showUpdaterError(const QString& message) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, QStringLiteral("Software Update"),
                        QStringLiteral("Kestavon could not check for updates."), QMessageBox::Ok, parent_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(message);
    plain(box);
    box->open();
}
