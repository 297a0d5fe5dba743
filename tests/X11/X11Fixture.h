#pragma once

#include "Platform/X11/X11Connection.h"
#include "TestWindows.h"
#include "XSession.h"

#include <QVariantMap>

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

/// The entries of the window list that belong to `ours`, in the list's order.
inline std::vector<QVariantMap> entriesOf(const QVariantList& list, const std::vector<xcb_window_t>& ours) {
    std::vector<QVariantMap> entries;
    for (const QVariant& item : list) {
        const QVariantMap entry = item.toMap();
        const auto number = entry.value(QStringLiteral("kCGWindowNumber")).value<std::uint32_t>();
        if (std::find(ours.begin(), ours.end(), number) != ours.end()) entries.push_back(entry);
    }
    return entries;
}

inline std::uint32_t numberOf(const QVariantMap& entry) {
    return entry.value(QStringLiteral("kCGWindowNumber")).value<std::uint32_t>();
}
