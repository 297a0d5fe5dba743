// rejected by: compile
// because: 'activate' is only available on macOS 14\.0 or newer.*unguarded-availability-new
// A macOS 14 call in a program that runs on macOS 13, without @available.
#include <AppKit/AppKit.h>

void comeForward() {
    [NSApp activate];
}
