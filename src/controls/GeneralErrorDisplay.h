#pragma once

#include <exception>

namespace fiscora {

// The general error display: releases a mouse capture and shows the error's message in an error
// message box captioned with the application title; a silent abort shows nothing. Called for every
// error that escapes an event handler, and wherever code runs outside Qt's event dispatch.
void HandleException(const std::exception_ptr &error);

// Runs the action and sends whatever it throws to HandleException; returns the action's result, or
// `failed` when it threw.
template <typename Action, typename Result> Result RunHandlingExceptions(Action &&action, Result failed) {
    try {
        return action();
    } catch (...) {
        HandleException(std::current_exception());
        return failed;
    }
}

// The same for an action without a result: the boundary at which our handlers hand their errors over,
// so that no exception unwinds through the toolkit's own code.
template <typename Action> void RunHandlingExceptions(Action &&action) {
    try {
        action();
    } catch (...) {
        HandleException(std::current_exception());
    }
}

} // namespace fiscora
