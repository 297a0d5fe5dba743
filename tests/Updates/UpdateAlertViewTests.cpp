#include "Updates/UpdateAlertView.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

// Markup a feed or its server may send (a red headline, a local image, a live link) is shown
// as the text it is, in an offered version and in an error's reason phrase.
TEST(UpdateAlertView, FeedTextIsShownAsPlainText) {
    const QString hostile = QStringLiteral("<h1 style=\"color:red\">9.9</h1><img "
                                           "src=\"file:///usr/share/pixmaps/debian-logo.png\"><a href=\"file:///\">open</a>");
    UpdateAlertView alerts;
    AppcastItem offered;
    offered.version = QStringLiteral("99");
    offered.displayVersion = hostile;
    const std::function<void()> shows[] = {
        [&] { alerts.showUpdateFound(offered, [](UpdateUserDriver::Choice) {}); },
        [&] {
            alerts.showUpdaterError(
                QStringLiteral("The update feed could not be loaded: the server answered HTTP 503 (%1).").arg(hostile));
        },
    };
    for (const auto& show : shows) {
        show();
        QMessageBox* box = openBox();
        ASSERT_NE(box, nullptr);
        int showing = 0;
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (!label->text().contains(hostile)) continue;
            ++showing;
            EXPECT_EQ(label->textFormat(), Qt::PlainText);
        }
        EXPECT_EQ(showing, 1);
        box->reject();
        EXPECT_TRUE(TestSupport::processEventsUntil([&] {
            return std::ranges::none_of(QApplication::topLevelWidgets(), [](QWidget* w) {
                return qobject_cast<QMessageBox*>(w) && w->isVisible();
            });
        }));
    }
}
