#pragma once

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

/// One worker thread that runs submitted work items one at a time, in submission order.
/// The thread carries the queue's label as its name, so it shows up in debuggers and logs.
class SerialQueue {
public:
    explicit SerialQueue(QString label);
    /// Items not yet started are dropped; the one running is waited for.
    ~SerialQueue();

    SerialQueue(const SerialQueue&) = delete;
    SerialQueue& operator=(const SerialQueue&) = delete;

    /// Submits a work item and returns at once.
    void async(std::function<void()> work);
    /// Blocks until every item submitted before this call has run.
    void waitUntilIdle();
    /// True when called from this queue's worker thread.
    bool isCurrent() const;
    const QString& label() const { return label_; }

private:
    void runLoop();

    QString label_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<std::function<void()>> items_;
    bool running_ = false;
    bool stopping_ = false;
    std::thread worker_;
};
