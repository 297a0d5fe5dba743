#pragma once

#include "Platform/X11/X11Connection.h"
#include "Platform/X11/X11WindowServer.h"
#include "RecordingTap.h"
#include "TestWindows.h"
#include "XSession.h"
#include "XTestInjector.h"

#include <gtest/gtest.h>

#include <memory>

/// A test on the shared display: the backend's own query connection, a client of ours for
/// the windows the test needs, and an injector typing keys.
class X11Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        KESTAVON_REQUIRE_X_SESSION();
        connection = X11Connection::open();
        ASSERT_TRUE(connection) << "cannot connect to the test display";
        windows = std::make_unique<TestWindows>();
        injector = XTestInjector::open();
        ASSERT_TRUE(injector) << "the display has no XTEST extension";
    }

    /// What the window server lists of `ours`, in its order.
    std::vector<WindowInfo> listed(const std::vector<xcb_window_t>& ours) {
        const auto all = X11WindowServer(*connection).windows();
        EXPECT_TRUE(all);
        std::vector<WindowInfo> found;
        for (const WindowInfo& w : all.value_or(std::vector<WindowInfo>{}))
            if (std::find(ours.begin(), ours.end(), w.number) != ours.end()) found.push_back(w);
        return found;
    }
    WindowInfo info(xcb_window_t window) {
        const auto found = listed({window});
        EXPECT_EQ(found.size(), 1u) << "window " << window << " not listed once";
        return found.empty() ? WindowInfo{} : found.front();
    }

    std::unique_ptr<X11Connection> connection;
    std::unique_ptr<TestWindows> windows;
    std::unique_ptr<XTestInjector> injector;
};

/// Keys typed into a focused window of ours.
class X11TapFixture : public X11Fixture {
protected:
    void SetUp() override {
        X11Fixture::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        ASSERT_TRUE(windows->activate(windows->create({}))) << "the key window never got the focus";
    }

    /// Types a marker key and waits for it: keys typed before it have arrived by then, or
    /// never will (the server keeps their order).
    bool settle() {
        injector->type(XKey::z);
        return windows->waitForPresses(XKey::z, ++markers_);
    }

private:
    int markers_ = 0;
};
