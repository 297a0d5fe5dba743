// rejected by: compile
// because: requires a bridged cast
// A Core Foundation dictionary handed to Objective-C without saying who owns it.
#include <AppKit/AppKit.h>

NSUInteger screenKeys(CFDictionaryRef description) {
    NSDictionary* dictionary = (NSDictionary*)description;
    return dictionary.count;
}
