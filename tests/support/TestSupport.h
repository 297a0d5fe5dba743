#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace TestSupport {

/// Runs the main thread's event loop until `done` holds, for at most `limitMs` of real time
/// (a guard against a hang, not a delay: it returns as soon as `done` holds).
bool processEventsUntil(const std::function<bool()>& done, int limitMs = 5000);
/// Runs what is already queued on the main thread.
void drainMainThread();

/// A fresh empty folder for one test, removed with the test program's temporary root.
QString freshFolder();
QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);

} // namespace TestSupport
