#include "App/ShownReport.h"

#include <QByteArray>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <ctime>

namespace {

// Waits for the window's first exposure; the work follows once that exposure is painted.
class FirstExposure final : public QObject {
public:
    FirstExposure(std::function<void()> work, QObject* parent) : QObject(parent), work_(std::move(work)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) {
            watched->removeEventFilter(this);
            // Queued, so it runs after the window has handled the exposure, painting included.
            QTimer::singleShot(0, this, [this] {
                work_();
                deleteLater();
            });
        }
        return false;
    }

private:
    std::function<void()> work_;
};

} // namespace

void afterFirstPainting(QWidget& window, std::function<void()> work) {
    window.winId(); // creates the native window, so there is one to watch
    window.windowHandle()->installEventFilter(new FirstExposure(std::move(work), &window));
}

void reportWhenShown(QWidget& window) {
    const QString file = qEnvironmentVariable("KESTAVON_SHOWN_FILE");
    if (file.isEmpty()) return;
    afterFirstPainting(window, [file] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        QFile out(file);
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(QByteArray::number(qint64(now.tv_sec) * 1000000000 + now.tv_nsec) + '\n');
    });
}
