#include "MainThread.h"

#include <QCoreApplication>
#include <QThread>

namespace MainThread {

bool isCurrent() {
    auto* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void post(QObject* context, std::function<void()> work) {
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

void run(QObject* context, std::function<void()> work) {
    if (isCurrent()) {
        work();
    } else {
        post(context, std::move(work));
    }
}

} // namespace MainThread
