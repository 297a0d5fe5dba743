#pragma once

#include "Keyboard/AppCatalogModel.h"

#include <QThread>

#include <atomic>
#include <memory>
#include <mutex>
#include <semaphore>

/// A catalog scan the test controls: counted, and while held waiting for release(). Its state
/// is shared with the scans it hands out, so a scan the pool starts after the test still finds it.
class ScriptedScan {
public:
    explicit ScriptedScan(const QList<AppEntry>& result) { setResult(result); }
    ~ScriptedScan() {
        // Lets every scan still held or not yet started run through.
        state_->held = false;
        state_->gate.release(512);
    }

    AppCatalogModel::ScanFunction function() const {
        return [state = state_] {
            ++state->calls;
            state->thread = QThread::currentThread();
            if (state->held) state->gate.acquire();
            std::lock_guard lock(state->mutex);
            ++state->finished;
            return state->result;
        };
    }
    void hold(bool held) { state_->held = held; }
    void release() { state_->gate.release(); }
    int calls() const { return state_->calls; }
    int finished() const { return state_->finished; }
    /// The thread the last scan ran on.
    QThread* thread() const { return state_->thread; }
    /// What the next scans return.
    void setResult(const QList<AppEntry>& result) {
        std::lock_guard lock(state_->mutex);
        state_->result = result;
    }

private:
    struct State {
        std::atomic<int> calls{0};
        std::atomic<int> finished{0};
        std::atomic<bool> held{false};
        std::atomic<QThread*> thread{nullptr};
        std::counting_semaphore<1024> gate{0};
        std::mutex mutex;
        QList<AppEntry> result;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
