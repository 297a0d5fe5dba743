#pragma once

#include "Platform/X11/X11Connection.h"
#include "TestWindows.h"
#include "XSession.h"

#include <gtest/gtest.h>

#include <memory>

/// A test on the shared display: the backend's own query connection, and a client of ours
/// for the windows the test needs.
class X11Fixture : public ::testing::Test {
protected:
    void SetUp() override {
        KESTAVON_REQUIRE_X_SESSION();
        connection = X11Connection::open();
        ASSERT_TRUE(connection) << "cannot connect to the test display";
        windows = std::make_unique<TestWindows>();
    }
    void TearDown() override { windows.reset(); }

    std::unique_ptr<X11Connection> connection;
    std::unique_ptr<TestWindows> windows;
};
