#pragma once
// Darwin names only the calling thread: pthread_setname_np(const char*), where glibc takes the
// thread as well. glibc's declaration is set aside and Darwin's takes its place.
// https://developer.apple.com/library/archive/documentation/System/Conceptual/ManPages_iPhoneOS/man3/pthread_setname_np.3.html
#define pthread_setname_np __glibc_pthread_setname_np
#include_next <pthread.h>
#undef pthread_setname_np
#ifdef __cplusplus
extern "C"
#endif
    int
    pthread_setname_np(const char* name);
