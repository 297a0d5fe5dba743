#pragma once

#include <functional>

class QWidget;

/// When the environment names a file in KESTAVON_SHOWN_FILE, writes to it the moment `window`
/// was first painted on screen, in nanoseconds of the monotonic clock: the benchmarks measure
/// start-up with it. Does nothing otherwise.
void reportWhenShown(QWidget& window);

/// Runs `work` once, on the main thread, after `window` was first painted on screen: what the
/// first look does not need waits until then. Never runs if the window is destroyed first.
void afterFirstPainting(QWidget& window, std::function<void()> work);
