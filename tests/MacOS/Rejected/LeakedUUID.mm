// rejected by: analyzer
// because: Potential leak of an object stored into 'uuid'
// The display's UUID is copied, its text read, and the UUID itself never released.
#include <ApplicationServices/ApplicationServices.h>
#include <CoreFoundation/CoreFoundation.h>

CFIndex uuidLength(CGDirectDisplayID display) {
    CFUUIDRef uuid = CGDisplayCreateUUIDFromDisplayID(display);
    if (uuid == nullptr) return 0;
    CFStringRef text = CFUUIDCreateString(kCFAllocatorDefault, uuid);
    if (text == nullptr) return 0;
    const CFIndex length = CFStringGetLength(text);
    CFRelease(text);
    return length;
}
