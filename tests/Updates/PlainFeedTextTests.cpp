#include "Updates/UpdateAlertView.h"

#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Markup a feed or its server may send: a red headline, a local image and a live link.
const QString hostile = QStringLiteral(
    "<h1 style=\"color:red\">9.9</h1><img src=\"file:///usr/share/pixmaps/debian-logo.png\"><a href=\"file:///\">open</a>");

struct Shown {
    const char* name;
    std::function<void(UpdateAlertView&)> show;
};

void PrintTo(const Shown& c, std::ostream* out) { *out << c.name; }

class FeedTextInAlerts : public testing::TestWithParam<Shown> {};

QMessageBox* openBox() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) return box;
    return nullptr;
}

} // namespace

TEST_P(FeedTextInAlerts, IsShownAsPlainText) {
    UpdateAlertView alerts;
    GetParam().show(alerts);
    QMessageBox* box = nullptr;
    ASSERT_TRUE(TestSupport::processEventsUntil([&] { return (box = openBox()) != nullptr; }));
    int showing = 0;
    for (QLabel* label : box->findChildren<QLabel*>()) {
        if (!label->text().contains(hostile)) continue;
        ++showing;
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
    }
    EXPECT_EQ(showing, 1);
    box->reject();
    EXPECT_TRUE(TestSupport::processEventsUntil([&] { return openBox() == nullptr; }));
}

INSTANTIATE_TEST_SUITE_P(
    Alerts, FeedTextInAlerts,
    testing::Values(Shown{"OfferedVersion",
                          [](UpdateAlertView& alerts) {
                              AppcastItem item;
                              item.version = QStringLiteral("99");
                              item.displayVersion = hostile;
                              alerts.showUpdateFound(item, [](UpdateUserDriver::Choice) {});
                          }},
                    Shown{"ReasonPhraseInAnError",
                          [](UpdateAlertView& alerts) {
                              alerts.showUpdaterError(
                                  QStringLiteral("The update feed could not be loaded: the server answered HTTP "
                                                 "503 (%1).")
                                      .arg(hostile));
                          }}),
    [](const testing::TestParamInfo<Shown>& info) { return std::string(info.param.name); });
