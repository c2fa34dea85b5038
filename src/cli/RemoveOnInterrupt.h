#pragma once

#include <csignal>

namespace fiscora::cli {

// While an instance lives, SIGINT, SIGTERM and SIGHUP first remove the file it names, then end the
// process as the signal's default action does. A signal the process was started to ignore stays
// ignored. One file at a time: the name is kept in a static buffer, since a signal handler may touch
// nothing else.
class RemoveOnInterrupt {
public:
    // `path` is the file's name as the system takes it (QFile::encodeName).
    explicit RemoveOnInterrupt(const char *path);
    ~RemoveOnInterrupt();
    RemoveOnInterrupt(const RemoveOnInterrupt &) = delete;
    RemoveOnInterrupt &operator=(const RemoveOnInterrupt &) = delete;

    // Keeps the file where it is from now on, even if a signal comes.
    void Release();
};

// Holds those signals back in this thread while it lives, so that a file comes into being or moves
// only together with its guard; a signal that came meanwhile is handled at the end.
class HoldInterrupts {
public:
    HoldInterrupts();
    ~HoldInterrupts();
    HoldInterrupts(const HoldInterrupts &) = delete;
    HoldInterrupts &operator=(const HoldInterrupts &) = delete;

private:
    sigset_t FPrevious;
};

} // namespace fiscora::cli
