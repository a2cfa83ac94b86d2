#include "FormsFixture.h"

#include "TBitmap.h"

void FormsTest::SetUp() {
    auto backend = std::make_unique<HeadlessBackend>(800, 600);
    screen_ = backend.get();
    session_ = std::make_unique<WindowSystemSession>(std::move(backend));
    app_ = std::make_unique<ApplicationSession>();
}

void FormsTest::TearDown() {
    app_.reset();
    session_.reset();
}

void FormsTest::Advance(unsigned ms) {
    // The clock moves in small steps, each followed by the application's loop,
    // so that timers fire through Application as they would in the program.
    const unsigned step = 10;
    for (unsigned done = 0; done < ms; done += step) {
        screen_->Sleep(std::min(step, ms - done));
        Pump();
    }
}

void FormsTest::Click(int x, int y, MouseButton b) {
    screen_->MouseMove(x, y);
    screen_->MouseDown(x, y, b);
    screen_->MouseUp(x, y, b);
    Pump();
}

void FormsTest::Key(int vk) {
    screen_->KeyPress(vk);
    Pump();
}

void FormsTest::KeyWith(int modifierVk, int vk) {
    screen_->KeyDown(modifierVk);
    screen_->KeyPress(vk);
    screen_->KeyUp(modifierVk);
    Pump();
}

TColor FormsTest::Pixel(int x, int y) {
    Pump();
    TBitmap shot;
    screen_->ReadScreenRect({x, y, x + 1, y + 1}, shot);
    return PixelToColor(shot.ScanLine(0)[0]);
}

TForm* FormsTest::ShowPlainForm(const TRect& r) {
    auto* form = Application->CreateForm<TForm>();
    form->SetBorderStyle(bsNone);
    form->SetBoundsRect(r);
    form->Show();
    Pump();
    return form;
}

void FormsTest::WhenIdle(std::function<void()> step) {
    auto pending = std::make_shared<std::function<void()>>(std::move(step));
    screen_->SetIdleHandler([this, pending] {
        // Clearing the handler frees this lambda: keep the step alive first.
        const auto keep = pending;
        screen_->SetIdleHandler(nullptr);
        (*keep)();
    });
}
