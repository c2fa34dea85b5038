#pragma once

#include <exception>
#include <utility>

namespace fiscora {

// Runs cleanup at scope exit, also when an exception leaves the scope; while unwinding, an error of the
// cleanup itself gives way to the one already on its way.
template <typename Cleanup> class ScopeExit {
public:
    explicit ScopeExit(Cleanup cleanup) : FCleanup(std::move(cleanup)) {}
    ~ScopeExit() noexcept(false) {
        if (std::uncaught_exceptions() == FUncaught) {
            FCleanup();
            return;
        }
        try {
            FCleanup();
        } catch (...) {
        }
    }
    ScopeExit(const ScopeExit &) = delete;
    ScopeExit &operator=(const ScopeExit &) = delete;

private:
    Cleanup FCleanup;
    int FUncaught = std::uncaught_exceptions();
};

// Runs cleanup only when an exception leaves the scope: undoes a half-done step on its error path.
template <typename Cleanup> class ScopeFailure {
public:
    explicit ScopeFailure(Cleanup cleanup) : FCleanup(std::move(cleanup)) {}
    ~ScopeFailure() {
        if (std::uncaught_exceptions() == FUncaught)
            return;
        try {
            FCleanup();
        } catch (...) {
        }
    }
    ScopeFailure(const ScopeFailure &) = delete;
    ScopeFailure &operator=(const ScopeFailure &) = delete;

private:
    Cleanup FCleanup;
    int FUncaught = std::uncaught_exceptions();
};

} // namespace fiscora
