#include "App/CommandLine.h"
#include "App/TrayIcon.h"

#include <QAction>
#include <QIcon>

#include <gtest/gtest.h>

using CommandLine::Action;

namespace {

struct Row {
    QStringList arguments;
    Action action;
    bool background;
    const char* error; // a part of the reason, for invalid command lines
    const char* key = "";
};

} // namespace

TEST(CommandLine, EachArgumentListGivesItsRequest) {
    const auto q = [](const char* text) { return QString::fromUtf8(text); };
    const Row table[] = {
        {{}, Action::run, false, ""},
        {{q("--background")}, Action::run, true, ""},
        {{q("--quit")}, Action::quit, false, ""},
        {{q("--setup-sway")}, Action::setupSway, false, ""},
        {{q("--version")}, Action::version, false, ""},
        {{q("--help")}, Action::help, false, ""},
        {{q("-h")}, Action::help, false, ""},
        // Help is what someone unsure of the rest needs.
        {{q("--quit"), q("--help")}, Action::help, false, ""},
        {{q("--background"), q("--quit")}, Action::quit, false, ""},
        {{q("--quit"), q("--version")}, Action::invalid, false, "cannot be combined"},
        {{q("--frobnicate")}, Action::invalid, false, "unknown option \"--frobnicate\""},
        {{q("--help"), q("--bogus")}, Action::invalid, false, "unknown option"},
        {{q("firefox")}, Action::invalid, false, "unexpected argument \"firefox\""},
        {{q("--Background")}, Action::invalid, false, "unknown option"},
        {{q("")}, Action::invalid, false, "unexpected argument"},
        {{q("--jump"), q("1-q")}, Action::jump, false, "", "1-q"},
        {{q("--jump"), q("3-/")}, Action::jump, false, "", "3-/"},
        {{q("--jump")}, Action::invalid, false, "needs a key"},
        {{q("--jump"), q("q")}, Action::invalid, false, "\"q\" is not one of Kestavon's keys"},
        {{q("--jump"), q("1-Q")}, Action::invalid, false, "not one of"},
        {{q("--jump"), q("4-q")}, Action::invalid, false, "not one of"},
        {{q("--jump"), q("1-q"), q("--quit")}, Action::invalid, false, "cannot be combined"},
    };
    for (const Row& row : table) {
        const CommandLine::Request request = CommandLine::parse(row.arguments);
        const QString shown = row.arguments.join(QLatin1Char(' '));
        EXPECT_EQ(request.action, row.action) << qPrintable(shown);
        EXPECT_EQ(request.background, row.background) << qPrintable(shown);
        EXPECT_TRUE(request.error.contains(QString::fromUtf8(row.error))) << qPrintable(request.error);
        EXPECT_EQ(request.error.isEmpty(), row.action != Action::invalid) << qPrintable(shown);
        EXPECT_EQ(request.key, QString::fromUtf8(row.key)) << qPrintable(shown);
    }
}

TEST(TrayIcon, ItsMenuAndAClickShowTheWindowAndItsMenuQuits) {
    int shown = 0;
    int quit = 0;
    TrayIcon tray(
        QIcon(), [&] { ++shown; }, [&] { ++quit; });
    const QList<QAction*> actions = tray.menu().actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Show Kestavon"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Quit Kestavon"));
    EXPECT_EQ(tray.icon().contextMenu(), &tray.menu());

    actions[0]->trigger();
    EXPECT_EQ(std::pair(shown, quit), std::pair(1, 0));
    actions[1]->trigger();
    EXPECT_EQ(std::pair(shown, quit), std::pair(1, 1));

    // A click or a double click shows the window; the context click only opens the menu.
    const std::pair<QSystemTrayIcon::ActivationReason, int> clicks[] = {
        {QSystemTrayIcon::Trigger, 1},
        {QSystemTrayIcon::DoubleClick, 1},
        {QSystemTrayIcon::Context, 0},
        {QSystemTrayIcon::MiddleClick, 0},
    };
    for (const auto& [reason, shows] : clicks) {
        const int before = shown;
        emit tray.icon().activated(reason);
        EXPECT_EQ(shown - before, shows) << reason;
    }
    EXPECT_EQ(quit, 1);
}
