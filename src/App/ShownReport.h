#pragma once

class QWidget;

/// When the environment names a file in KESTAVON_SHOWN_FILE, writes to it the moment `window`
/// was first painted on screen, in nanoseconds of the monotonic clock: the benchmarks measure
/// start-up with it. Does nothing otherwise.
void reportWhenShown(QWidget& window);
