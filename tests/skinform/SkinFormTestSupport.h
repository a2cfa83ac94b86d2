#pragma once
// For the skinned frame tests: a headless screen with the window system and
// an application per test, the program's skin (or an edited copy of it in a
// scratch folder), and a form carrying a frame component.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>

#include "Forms.h"
#include "HeadlessBackend.h"
#include "TBitmap.h"
#include "TbsSkinData.h"
#include "TbsSkinForm.h"
#include "WindowSystem.h"

namespace frametest {

inline std::string ProgramSkinDir() { return std::string(MIRVO_SOURCE_DIR) + "/dat/skin1/"; }

inline bool SamePixels(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y)
        if (std::memcmp(a.ScanLine(y), b.ScanLine(y), std::size_t(a.Width()) * 4) != 0) return false;
    return true;
}

// A scratch folder removed with everything in it when the test ends.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mirvo-frame-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    // A copy of the program's skin with its description changed by `edit`;
    // returns the path of the copy's skin.ini.
    template <class Edit>
    std::string CopyProgramSkin(Edit edit) const {
        for (const auto& entry : std::filesystem::directory_iterator(ProgramSkinDir()))
            std::filesystem::copy_file(entry.path(), File(entry.path().filename().string()));
        std::ifstream in(File("skin.ini"), std::ios::binary);
        std::string ini(std::istreambuf_iterator<char>(in), {});
        in.close();
        // The description is read the same with either line end; edits see "\n".
        std::erase(ini, '\r');
        edit(ini);
        std::ofstream out(File("skin.ini"), std::ios::binary | std::ios::trunc);
        out << ini;
        return File("skin.ini");
    }

private:
    std::string path_;
};

// Replaces the first occurrence of `from` in `text`; fails the test when absent.
inline void Replace(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

class FrameTest : public ::testing::Test {
protected:
    FrameTest() {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
    }
    ~FrameTest() override {
        app_.reset();
        session_.reset();
    }

    HeadlessBackend& screen() { return *screen_; }

    // A form at (100, 80) of the given size with a frame component; the
    // skin, when given, is loaded into a skin data component of the form.
    TForm* MakeForm(int width, int height, const std::string& skinIni = ProgramSkinDir() + "skin.ini",
                    TFormBorderStyle style = bsSizeable) {
        form = Application->CreateForm<TForm>();
        form->SetBorderStyle(style);
        form->SetBounds(100, 80, width, height);
        form->SetCaption("Mirvo");
        frame = CreateComponent<TbsSkinForm>(form);
        if (!skinIni.empty()) {
            skin = CreateComponent<TbsSkinData>(form);
            skin->LoadIniSkin(skinIni);
            frame->SetSkinData(skin);
        }
        return form;
    }

    void ShowAndPump() {
        form->Show();
        PumpMessages();
    }

    // The window as it is on the screen.
    void ReadWindow(TBitmap& out) {
        PumpMessages();
        screen().ReadScreenRect(form->BoundsRect(), out);
    }

    // Sends a hit test for a point in window coordinates.
    int HitAt(int x, int y) {
        return int(SendMessage(form->Handle(), WM_NCHITTEST, 0, PointToLParam({form->Left() + x, form->Top() + y})));
    }

    TForm* form = nullptr;
    TbsSkinForm* frame = nullptr;
    TbsSkinData* skin = nullptr;

private:
    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
};

}  // namespace frametest
