#include "MacStartup.h"

#include <Foundation/Foundation.h>

void MacStartup::preferEnglish() {
    [NSUserDefaults.standardUserDefaults setObject:@[ @"en" ] forKey:@"AppleLanguages"];
}
