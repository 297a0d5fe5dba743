#include "TrustPrompt.h"

#include "Platform/Platform.h"
#include "Platform/WindowOperationsPort.h"

namespace TrustPrompt {

std::atomic<bool> latch{false};

void requestOnce() {
    if (latch.exchange(true)) return;
    Platform::current().windowOperations().promptForTrust();
}

} // namespace TrustPrompt
