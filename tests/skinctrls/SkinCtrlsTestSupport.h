#pragma once
// For the skinned control tests: a headless screen with the window system
// and an application per test, input helpers, a scratch skin written from
// INI text with one patterned picture, and pixel comparisons.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "TBitmap.h"
#include "TbsSkinComboBox.h"
#include "TbsSkinData.h"
#include "WindowSystem.h"

namespace ctrltest {

// A picture whose pixels all differ, so a wrongly placed piece shows.
inline void MakePatternPicture(TBitmap& b, int w, int h) {
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.SetPixels(x, y, RGB(std::uint8_t(x * 2), std::uint8_t(y * 3), std::uint8_t(x + y)));
}

// A skin in a scratch folder: the sections a skin must have, one picture
// list entry (index 0, the pattern) and the control records given.
class ScratchSkin {
public:
    ScratchSkin() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-ctrls-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
    }
    ~ScratchSkin() {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }
    ScratchSkin(const ScratchSkin&) = delete;
    ScratchSkin& operator=(const ScratchSkin&) = delete;

    // `controls` is the SKINCONTROLS list ("0=name:kind" lines) followed by
    // the records' sections. Returns the description's path.
    std::string Write(const std::string& controlList, int count, const std::string& records,
                      const std::string& colours = "") {
        TBitmap pic;
        MakePatternPicture(pic, 120, 80);
        pic.SaveToFile((dir_ + "/pic.bmp").c_str());
        std::ofstream ini(dir_ + "/skin.ini", std::ios::trunc);
        ini << "[VERSION]\nskinname=t\n[PICTURES]\npicture=\nactivepicturescount=1\n0=pic.bmp\n"
            << "[FORMINFO]\nclientrect=0,0,0,0\n[SKINOBJECTS]\ncount=0\n"
            << "[SKINCONTROLS]\ncount=" << count << "\n"
            << controlList << "\n" << records << "\n" << colours;
        return dir_ + "/skin.ini";
    }
    const TBitmap& Picture() {
        if (picture_.Empty()) MakePatternPicture(picture_, 120, 80);
        return picture_;
    }

private:
    std::string dir_;
    TBitmap picture_;
};

inline std::string DeliveredSkinIni() { return std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/skin.ini"; }

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    // Only the colour counts, not the unused top byte of a pixel.
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if ((a.ScanLine(y)[x] ^ b.ScanLine(y)[x]) & 0xFFFFFF) return false;
    return true;
}

// The first differing pixel, for failure messages.
inline std::string FirstDifference(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return "sizes " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " and " +
               std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixels(x, y) != b.Pixels(x, y))
                return "at " + std::to_string(x) + "," + std::to_string(y);
    return "none";
}

class SkinCtrlsTest : public ::testing::Test {
protected:
    SkinCtrlsTest() {
        auto backend = std::make_unique<HeadlessBackend>(800, 600);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
    }
    ~SkinCtrlsTest() override {
        screen_->SetIdleHandler(nullptr);
        app_.reset();
        session_.reset();
    }

    HeadlessBackend& screen() { return *screen_; }
    void Pump() { Application->ProcessMessages(); }
    // Lets time pass in small steps, each followed by the message loop.
    void Advance(unsigned ms) {
        for (unsigned done = 0; done < ms; done += 5) {
            screen_->Sleep(std::min(5u, ms - done));
            Pump();
        }
    }
    void Key(int vk) {
        screen_->KeyPress(vk);
        Pump();
    }
    TForm* ShowForm(const TRect& r = {50, 50, 450, 350}) {
        auto* form = Application->CreateForm<TForm>();
        form->SetBorderStyle(bsNone);
        form->SetBoundsRect(r);
        form->Show();
        Pump();
        return form;
    }
    // A 150 x 20 combo box at (20, 20) on `form` holding "item0", "item1", ...
    TbsSkinComboBox* ShownCombo(TForm* form, int items) {
        auto* combo = CreateComponent<TbsSkinComboBox>(form);
        combo->SetParent(form);
        combo->SetBounds(20, 20, 150, 20);
        for (int i = 0; i < items; ++i) combo->Items().Add(("item" + std::to_string(i)).c_str());
        Pump();
        return combo;
    }
    TbsSkinData* LoadSkin(TComponent* owner, const std::string& ini) {
        auto* skin = CreateComponent<TbsSkinData>(owner);
        skin->LoadIniSkin(ini.c_str());
        return skin;
    }
    // What the screen shows of a control (its bounds in screen coordinates).
    void Shot(const TControl& c, TBitmap& out) {
        Pump();
        const TPoint tl = c.ClientToScreen({0, 0});
        screen_->ReadScreenRect(Bounds(tl.X, tl.Y, c.Width(), c.Height()), out);
    }
    TColor PixelOf(const TControl& c, int x, int y) {
        TBitmap shot;
        Shot(c, shot);
        return shot.Pixels(x, y);
    }
    TPoint ScreenPoint(const TControl& c, int x, int y) { return c.ClientToScreen({x, y}); }

private:
    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
};

}  // namespace ctrltest
