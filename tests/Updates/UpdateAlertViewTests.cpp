#include "Updates/UpdateAlertView.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <vector>

namespace {

QMessageBox* openBox() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) return box;
    return nullptr;
}

QPushButton* buttonNamed(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text) return qobject_cast<QPushButton*>(button);
    return nullptr;
}

AppcastItem release() {
    AppcastItem item;
    item.version = QStringLiteral("12");
    item.displayVersion = QStringLiteral("1.2");
    item.link = QStringLiteral("https://kestavon.example/releases/1.2");
    return item;
}

} // namespace

TEST(UpdateAlertView, OfferAnswersOnceWithTheButtonPressedAndClosingItCountsAsNotNow) {
    UpdateAlertView alerts;
    std::vector<UpdateUserDriver::Choice> replies;
    const auto reply = [&](UpdateUserDriver::Choice answer) { replies.push_back(answer); };
    alerts.showUpdateFound(release(), reply);
    QMessageBox* box = nullptr;
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return (box = openBox()) != nullptr; }));
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("1.2")));
    ASSERT_NE(buttonNamed(box, UpdateAlertView::installButtonText()), nullptr);
    buttonNamed(box, UpdateAlertView::installButtonText())->click();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return openBox() == nullptr; }));
    TestSupport::drainMainThread();
    EXPECT_EQ(replies, std::vector{UpdateUserDriver::Choice::install});

    alerts.showUpdateFound(release(), reply);
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return (box = openBox()) != nullptr; }));
    box->reject();
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return replies.size() == 2; }));
    EXPECT_EQ(replies.back(), UpdateUserDriver::Choice::dismiss);
}

TEST(UpdateAlertView, ErrorShowsTheUpdaterMessage) {
    UpdateAlertView alerts;
    alerts.showUpdaterError(QStringLiteral("The update feed could not be loaded: Connection refused"));
    QMessageBox* box = nullptr;
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return (box = openBox()) != nullptr; }));
    EXPECT_EQ(box->informativeText(),
              QStringLiteral("The update feed could not be loaded: Connection refused"));
    box->accept();
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return openBox() == nullptr; }));
}
