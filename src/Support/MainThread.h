#pragma once

#include <QObject>

#include <functional>

/// Hops to the main (GUI) thread, where every published property is written.
namespace MainThread {

/// True on the thread of the application object.
bool isCurrent();

/// Queues `work` to run on the main thread, after what is already queued there, even when
/// called from the main thread. Dropped if `context` is destroyed first.
void post(QObject* context, std::function<void()> work);

/// Runs `work` at once when called on the main thread; otherwise as `post`.
void run(QObject* context, std::function<void()> work);

} // namespace MainThread
