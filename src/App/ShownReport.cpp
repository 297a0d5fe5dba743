#include "App/ShownReport.h"

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <ctime>

namespace {

// Waits for the window's first exposure; the report follows once that exposure is painted.
class FirstExposure final : public QObject {
public:
    FirstExposure(QString file, QObject* parent) : QObject(parent), file_(std::move(file)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // Queued, so it runs after the window has handled the exposure, painting included.
            QTimer::singleShot(0, this, [this] {
                timespec now{};
                clock_gettime(CLOCK_MONOTONIC, &now);
                QFile out(file_);
                if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    out.write(QByteArray::number(qint64(now.tv_sec) * 1000000000 + now.tv_nsec) + '\n');
                deleteLater();
            });
        }
        return false;
    }

private:
    QString file_;
};

} // namespace

void reportWhenShown(QWidget& window) {
    const QString file = qEnvironmentVariable("KESTAVON_SHOWN_FILE");
    if (file.isEmpty()) return;
    window.winId(); // creates the native window, so there is one to watch
    window.windowHandle()->installEventFilter(new FirstExposure(file, &window));
}
