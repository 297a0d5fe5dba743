#include "SystemTime.h"

#include <thread>

void SystemTime::sleep(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

double SystemTime::now() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemTime::currentDate() { return QDateTime::currentDateTime(); }
