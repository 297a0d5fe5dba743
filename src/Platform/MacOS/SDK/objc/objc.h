#pragma once
// The Objective-C runtime's basic types. BOOL is bool on arm64.
// https://developer.apple.com/documentation/objectivec/bool
typedef bool BOOL;
#define YES __objc_yes
#define NO __objc_no
#ifndef nil
#define nil nullptr
#endif
