// kestavon-save-loop Bindings|Stats PATH MICROSECONDS: saves change after change (Stores.h) to
// PATH through the real store, going on from the state the file holds, and kills itself with
// SIGKILL that many microseconds after its first save has returned: wherever a save then is.
#include "Stores.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const StoreKind* kind = nullptr;
    for (const StoreKind* candidate : {&bindingsStore, &statsStore}) {
        if (argc == 4 && std::strcmp(argv[1], candidate->name) == 0) kind = candidate;
    }
    if (kind == nullptr) {
        std::fputs("usage: kestavon-save-loop Bindings|Stats PATH MICROSECONDS\n", stderr);
        return 2;
    }
    const std::unique_ptr<StoreUnderTest> store = kind->open(QString::fromLocal8Bit(argv[2]));
    store->change();
    std::signal(SIGALRM, [](int) { ::kill(::getpid(), SIGKILL); });
    itimerval timer{};
    timer.it_value.tv_usec = std::atoi(argv[3]) % 1'000'000 + 1;
    ::setitimer(ITIMER_REAL, &timer, nullptr);
    for (;;)
        store->change();
}
