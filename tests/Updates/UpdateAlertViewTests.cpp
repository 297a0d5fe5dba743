#include "Updates/UpdateAlertView.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

// The alert on screen, once it is there.
QMessageBox* openBox() {
    QMessageBox* found = nullptr;
    TestSupport::processEventsUntil([&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box != nullptr && box->isVisible()) found = box;
        }
        return found != nullptr;
    });
    return found;
}

} // namespace

TEST(UpdateAlertView, OfferAnswersOnceWithTheButtonPressedAndClosingItCountsAsNotNow) {
    UpdateAlertView alerts;
    AppcastItem release;
    release.version = QStringLiteral("12");
    release.displayVersion = QStringLiteral("1.2");
    std::vector<UpdateUserDriver::Choice> replies;
    const auto reply = [&](UpdateUserDriver::Choice answer) { replies.push_back(answer); };
    alerts.showUpdateFound(release, reply);
    QMessageBox* box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("1.2")));
    QPushButton* install = nullptr;
    for (QAbstractButton* button : box->buttons())
        if (button->text() == UpdateAlertView::installButtonText())
            install = qobject_cast<QPushButton*>(button);
    ASSERT_NE(install, nullptr);
    install->click();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return !replies.empty(); }));
    TestSupport::drainMainThread();
    EXPECT_EQ(replies, std::vector{UpdateUserDriver::Choice::install});

    alerts.showUpdateFound(release, reply);
    ASSERT_NE(box = openBox(), nullptr);
    box->reject();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return replies.size() == 2; }));
    EXPECT_EQ(replies.back(), UpdateUserDriver::Choice::dismiss);
}

TEST(UpdateAlertView, ErrorShowsTheUpdaterMessage) {
    UpdateAlertView alerts;
    alerts.showUpdaterError(QStringLiteral("The update feed could not be loaded: Connection refused"));
    QMessageBox* box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->informativeText(),
              QStringLiteral("The update feed could not be loaded: Connection refused"));
    box->accept();
}
