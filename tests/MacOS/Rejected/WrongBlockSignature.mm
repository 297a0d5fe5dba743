// rejected by: compile
// because: cannot initialize a parameter of type 'void \(\^ _Nullable\)\(NSRunningApplication .*, NSError .*\)' with an rvalue of type 'void \(\^\)\(NSRunningApplication [^,]*\)'
// A completion handler written for one argument where the workspace passes two.
#include <AppKit/AppKit.h>

void openWithWrongHandler(NSURL* application) {
    [NSWorkspace.sharedWorkspace openApplicationAtURL:application
                                        configuration:[NSWorkspaceOpenConfiguration configuration]
                                    completionHandler:^(NSRunningApplication* _Nullable app) {
                                      (void)app;
                                    }];
}
