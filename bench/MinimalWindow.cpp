// The yardstick of the start-up and memory figures: the least a Qt Widgets program with a
// window can be, one label in a window, reporting its first painting as Kestavon does.
#include "App/ShownReport.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("Kestavon"));
    label.setWindowTitle(QStringLiteral("Minimal"));
    reportWhenShown(label);
    label.show();
    return QApplication::exec();
}
