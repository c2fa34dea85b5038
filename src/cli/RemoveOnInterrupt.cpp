#include "RemoveOnInterrupt.h"

#include <climits>
#include <cstring>
#include <pthread.h>
#include <stdexcept>
#include <unistd.h>

namespace fiscora::cli {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

char gPath[PATH_MAX];
volatile sig_atomic_t gArmed = 0;
struct sigaction gPrevious[kSignalCount];
bool gInstalled[kSignalCount];

extern "C" void RemoveAndEnd(int signal) {
    // Only async-signal-safe calls here. SA_RESETHAND has restored the default action; the signal
    // raised again is delivered when this handler returns and ends the process.
    if (gArmed)
        unlink(gPath);
    raise(signal);
}

sigset_t Signals() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kSignals)
        sigaddset(&set, signal);
    return set;
}

} // namespace

RemoveOnInterrupt::RemoveOnInterrupt(const char *path) {
    if (std::strlen(path) >= sizeof gPath)
        throw std::length_error("file name too long");
    std::strcpy(gPath, path);
    gArmed = 1;
    struct sigaction action {};
    action.sa_handler = RemoveAndEnd;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < kSignalCount; ++i) {
        sigaction(kSignals[i], nullptr, &gPrevious[i]);
        gInstalled[i] = gPrevious[i].sa_handler != SIG_IGN;
        if (gInstalled[i])
            sigaction(kSignals[i], &action, nullptr);
    }
}

RemoveOnInterrupt::~RemoveOnInterrupt() {
    Release();
    for (int i = 0; i < kSignalCount; ++i)
        if (gInstalled[i])
            sigaction(kSignals[i], &gPrevious[i], nullptr);
}

void RemoveOnInterrupt::Release() {
    gArmed = 0;
}

HoldInterrupts::HoldInterrupts() {
    const sigset_t signals = Signals();
    pthread_sigmask(SIG_BLOCK, &signals, &FPrevious);
}

HoldInterrupts::~HoldInterrupts() {
    pthread_sigmask(SIG_SETMASK, &FPrevious, nullptr);
}

} // namespace fiscora::cli
