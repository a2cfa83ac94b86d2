#pragma once
// A headless screen with the window system and the application per test,
// and the input helpers that drive forms through the window system.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "WindowSystem.h"

class FormsTest : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    HeadlessBackend& screen() { return *screen_; }
    // Handles everything waiting through the application's own loop.
    void Pump() { Application->ProcessMessages(); }
    // Lets time pass on the virtual clock, handling what falls due.
    void Advance(unsigned ms);
    void Click(int x, int y, MouseButton b = MouseButton::Left);
    void Key(int vk);
    void KeyWith(int modifierVk, int vk);
    TColor Pixel(int x, int y);
    // A form at a screen rectangle's client area, bsNone, shown.
    TForm* ShowPlainForm(const TRect& r);
    // While the program waits for input (a modal loop), `step` runs once.
    void WhenIdle(std::function<void()> step);

private:
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    HeadlessBackend* screen_ = nullptr;
};
