#include "ThreadName.h"

#include <pthread.h>

namespace ThreadName {

void setCurrent(const QString& name) {
#if defined(__APPLE__)
    pthread_setname_np(name.toUtf8().left(63).constData());
#else
    pthread_setname_np(pthread_self(), name.toUtf8().left(15).constData());
#endif
}

} // namespace ThreadName
