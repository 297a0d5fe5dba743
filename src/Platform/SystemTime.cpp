#include "SystemTime.h"

#include "Support/OneShot.h"

#include <QTimer>

#include <thread>

namespace {

class QtRepeatingTimer final : public RepeatingTimer {
public:
    QtRepeatingTimer(std::chrono::milliseconds interval, std::function<void()> fire) {
        timer_.setInterval(interval);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(fire));
        timer_.start();
    }
    void invalidate() override { timer_.stop(); }

private:
    QTimer timer_;
};

} // namespace

void SystemTime::sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

double SystemTime::now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemTime::currentDate() { return QDateTime::currentDateTime(); }

bool SystemTime::wait(OneShot& signal, std::chrono::milliseconds timeout) { return signal.waitFor(timeout); }

std::unique_ptr<RepeatingTimer> SystemTime::scheduleRepeating(std::chrono::milliseconds interval,
                                                              std::function<void()> fire) {
    return std::make_unique<QtRepeatingTimer>(interval, std::move(fire));
}
