#pragma once

#include "KeyRecorder.h"
#include "Platform/X11/X11EventTap.h"
#include "RecordingTap.h"
#include "XSession.h"
#include "XTestInjector.h"

#include <gtest/gtest.h>

#include <memory>

/// A focused key recorder and an injector on the shared test display, and taps made on it.
class X11TapFixture : public testing::Test {
protected:
    void SetUp() override {
        KESTAVON_REQUIRE_X_SESSION();
        injector = XTestInjector::open();
        ASSERT_TRUE(injector) << "the display has no XTEST extension";
        recorder = KeyRecorder::open();
        ASSERT_TRUE(recorder);
        ASSERT_TRUE(recorder->focus()) << "the recorder window never got the focus";
    }

    std::unique_ptr<RecordingTap> startTap(RecordingTap::Decide decide = {}) {
        return std::make_unique<RecordingTap>(
            [](KeyboardTapPort::Callback callback) {
                return X11EventTap::open(nullptr, std::move(callback));
            },
            std::move(decide));
    }

    /// Types a marker key and waits for it: keys typed before it have arrived by then, or
    /// never will (the server keeps their order).
    bool settle() {
        injector->type(XKey::z);
        return recorder->waitForPresses(XKey::z, ++markers_);
    }

    /// Holds `modifier` while typing `key`.
    void chord(std::uint8_t modifier, std::uint8_t key) {
        injector->press(modifier);
        injector->type(key);
        injector->release(modifier);
    }

    std::unique_ptr<XTestInjector> injector;
    std::unique_ptr<KeyRecorder> recorder;

private:
    int markers_ = 0;
};
