#include "MainThread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <QThread>

#if defined(__SANITIZE_THREAD__)
#include <sanitizer/tsan_interface.h>
#define KESTAVON_HANDOFF_RELEASE(p) __tsan_release(p)
#define KESTAVON_HANDOFF_ACQUIRE(p) __tsan_acquire(p)
#else
#define KESTAVON_HANDOFF_RELEASE(p) ((void)(p))
#define KESTAVON_HANDOFF_ACQUIRE(p) ((void)(p))
#endif

namespace MainThread {

namespace {

// One queued piece of work. Qt's event queue orders it after everything already posted to
// the main thread. The queue's own locking lives in Qt, out of ThreadSanitizer's sight, so
// the hand-over is declared to it: released once the event is complete, acquired before the
// main thread touches it.
class WorkEvent final : public QEvent {
public:
    WorkEvent(QObject* context, std::function<void()> work)
        : QEvent(type()), context_(context), work_(std::move(work)) {
        KESTAVON_HANDOFF_RELEASE(this);
    }
    ~WorkEvent() override { KESTAVON_HANDOFF_ACQUIRE(this); }

    static QEvent::Type type() {
        static const auto registered = QEvent::Type(QEvent::registerEventType());
        return registered;
    }

    void run() {
        KESTAVON_HANDOFF_ACQUIRE(this);
        if (context_) work_();
    }

private:
    QPointer<QObject> context_;
    std::function<void()> work_;
};

// Receives the work events on the main thread; never destroyed, as work may be posted
// until the process ends.
class Runner final : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() != WorkEvent::type()) return QObject::event(e);
        static_cast<WorkEvent*>(e)->run();
        return true;
    }
};

Runner* runner() {
    static Runner* const instance = [] {
        auto* created = new Runner;
        if (auto* app = QCoreApplication::instance()) created->moveToThread(app->thread());
        return created;
    }();
    return instance;
}

} // namespace

bool isCurrent() {
    auto* app = QCoreApplication::instance();
    return app != nullptr && QThread::currentThread() == app->thread();
}

void post(QObject* context, std::function<void()> work) {
    QCoreApplication::postEvent(runner(), new WorkEvent(context, std::move(work)));
}

void run(QObject* context, std::function<void()> work) {
    if (isCurrent()) {
        work();
    } else {
        post(context, std::move(work));
    }
}

} // namespace MainThread
