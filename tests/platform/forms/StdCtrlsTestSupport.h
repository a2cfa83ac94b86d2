#pragma once
// Helpers shared by the standard controls' tests.

#include <functional>
#include <memory>

#include "HeadlessBackend.h"

namespace stdctrls_test {

// Runs `step` once when the program next waits for input (inside a modal
// loop or a popup menu). The handler clears itself before running the step,
// so it copies what it needs to locals first: clearing destroys the closure.
inline void OnceIdle(HeadlessBackend& screen, std::function<void()> step) {
    auto pending = std::make_shared<std::function<void()>>(std::move(step));
    HeadlessBackend* s = &screen;
    screen.SetIdleHandler([s, pending] {
        HeadlessBackend* backend = s;
        const auto run = pending;
        backend->SetIdleHandler(nullptr);
        (*run)();
    });
}

}  // namespace stdctrls_test
