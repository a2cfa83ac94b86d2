#pragma once
// For the skin tests that need the component framework: a headless screen
// with the window system and an application per test, and a watch on the
// message boxes the application shows (its default error report).

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "TBitmap.h"
#include "WindowSystem.h"

namespace skintest {

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), std::size_t(a.Width()) * 4) != 0) return false;
    return true;
}

// A message box as it was on screen.
struct ShownBox {
    AnsiString caption;
    std::shared_ptr<TBitmap> picture;
};

class SkinFormsTest : public ::testing::Test {
protected:
    SkinFormsTest() {
        auto backend = std::make_unique<HeadlessBackend>(800, 600);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
    }
    ~SkinFormsTest() override {
        screen_->SetIdleHandler(nullptr);
        app_.reset();
        session_.reset();
    }

    HeadlessBackend& screen() { return *screen_; }

    // From now on every message box is recorded in `boxes` (caption and
    // picture) and answered with Enter. The program waits for input only
    // inside a modal loop, and the only modal loop here is a box's.
    void WatchMessageBoxes() {
        screen_->SetIdleHandler([this] {
            TCustomForm* box = Screen->ActiveForm();
            if (!box) {
                ADD_FAILURE() << "the program waits for input without a message box";
                screen_->RequestQuit();
                return;
            }
            ShownBox shown{box->Caption(), std::make_shared<TBitmap>()};
            screen_->ReadScreenRect(box->BoundsRect(), *shown.picture);
            boxes.push_back(std::move(shown));
            screen_->KeyPress(VK_RETURN);
        });
    }

    // The box the default error report shows for an error with `text`, for
    // comparing pictures: texts cannot be read back from a box otherwise.
    ShownBox ReportBoxFor(const AnsiString& text) {
        const std::size_t before = boxes.size();
        Application->ShowException(Exception(text));
        if (boxes.size() != before + 1) {
            ADD_FAILURE() << "the error report showed " << boxes.size() - before << " boxes";
            return {};
        }
        ShownBox box = boxes.back();
        boxes.pop_back();
        return box;
    }

    std::vector<ShownBox> boxes;

private:
    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
};

}  // namespace skintest
