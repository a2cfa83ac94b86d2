#pragma once
// The main window on the headless screen, in a program folder of the test's
// own: helpers to start it, type, click and read what it shows.

#include <gtest/gtest.h>

#include <time.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "Exceptions.h"
#include "HeadlessBackend.h"
#include "ScratchFolder.h"
#include "WindowSystem.h"
#include "WordTable.h"
#include "main.h"

namespace fs = std::filesystem;

// The starter database the build delivers beside the program.
const fs::path kStarterDatabase = fs::path(MIRVO_BINARY_DIR) / "bin" / "dat" / "WordLib.dat";
constexpr std::size_t kStarterRows = 52;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root_ / "dat" / "ad");
        // The program's folder holds its skin, as the delivered program's does.
        WithSkin();
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
        Application->SetTitle(MainWindowTitle);
        // Errors are collected instead of being shown in a modal box.
        Application->OnException = [this](TObject*, const Exception& e) { errors_.push_back(e.Message()); };
    }

    void TearDown() override {
        screen_->SetIdleHandler(nullptr);
        app_.reset();
        session_.reset();
        WordTable.Clear();
        AppDir.clear();
    }

    void WithDatabase() { fs::copy_file(kStarterDatabase, root_ / "dat" / "WordLib.dat"); }
    fs::path SkinDir() const { return root_ / "dat" / "skin1"; }
    void WithSkin() { fs::create_directory_symlink(fs::path(MIRVO_SOURCE_DIR) / "dat" / "skin1", SkinDir()); }
    // Takes the skin away: the link, or a skin a test wrote, inside this test
    // process's own program folder; the delivered skin stays.
    void WithoutSkin() { fs::remove_all(SkinDir()); }
    void WithAds(std::initializer_list<const char*> names) {
        for (const char* name : names) std::ofstream(root_ / "dat" / "ad" / name) << "FWS";
    }
    fs::path WriteFile(const char* name, const std::string& text) {
        const fs::path path = root_ / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Creates the main window for the prepared program directory, shows it
    // and waits until it has read the database's words too.
    TFrmMain& Start() {
        StartShowing();
        WaitForDatabaseWords();
        return *form_;
    }
    // The same without waiting for the database's words: the window answers
    // from the built-in words meanwhile.
    TFrmMain& StartShowing() {
        form_ = Application->CreateForm<TFrmMain>();
        const AnsiString dir = root_.string() + "/";
        form_->SetUpAppDir = [dir] { AppDir = dir; };
        form_->ShellExecute = [this](HWND, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR, INT) {
            opened_.push_back({verb, file});
            return reinterpret_cast<HINSTANCE>(kShellExecuteStarted);
        };
        form_->Show();
        Pump();
        return *form_;
    }

    void Pump() { Application->ProcessMessages(); }
    // Waits until the words read behind the window are in, handing the
    // window its timer's message without letting its clock run (the banner's
    // timer counts from the start); fails after a generous time.
    void WaitForDatabaseWords() {
        const time_t until = time(nullptr) + 60;
        while (form_->DatabaseWordsLoading() && time(nullptr) < until) {
            SendMessage(form_->Handle(), WM_TIMER, DatabaseWordsTimer, 0);
            if (form_->DatabaseWordsLoading()) usleep(2000);
        }
        Pump();
        ASSERT_FALSE(form_->DatabaseWordsLoading()) << "the database words never came";
    }
    void ClickAt(TControl& control, int x, int y) {
        const TPoint p = control.ClientToScreen({x, y});
        screen_->Click(p.X, p.Y);
        Pump();
    }
    void ClickCentre(TControl& control) { ClickAt(control, control.Width() / 2, control.Height() / 2); }
    void Type(TCustomEdit& edit, const char* text) {
        ClickCentre(edit);
        edit.SelectAll();
        screen_->KeyPress(VK_DELETE);
        screen_->Text(text);
        Pump();
    }
    void Translate(const char* word) {
        Type(*form_->EdWord, word);
        ClickCentre(*form_->BtTran);
    }
    void ClickRow(int index) {
        const TRect r = form_->LVWord->RowRect(index);
        ClickAt(*form_->LVWord, 20, r.Top + r.Height() / 2);
    }
    void Key(int vk) {
        screen_->KeyPress(vk);
        Pump();
    }
    // Runs the steps one after another whenever the program waits for input
    // (inside a modal loop).
    void WhenIdle(std::vector<std::function<void()>> steps) {
        auto queue = std::make_shared<std::deque<std::function<void()>>>(steps.begin(), steps.end());
        screen_->SetIdleHandler([this, queue] {
            if (queue->empty()) {
                ADD_FAILURE() << "the program waits for input no step provides";
                screen_->RequestQuit();
                return;
            }
            auto step = std::move(queue->front());
            queue->pop_front();
            step();
        });
    }

    // Types `path` (UTF-8) into the open dialog behind "...", then imports
    // the file, saying Yes to the question and No to sharing; returns what
    // the path box showed.
    AnsiString ChooseAndImport(const std::string& path) {
        WhenIdle({[this, path] {
                      screen_->Text(path);
                      screen_->KeyPress(VK_RETURN);
                  },
                  [this] { screen_->KeyPress(VK_RETURN); },
                  [this] { screen_->KeyPress(VK_ESCAPE); }});
        ClickCentre(*form_->BtOpenTbDatPath);
        const AnsiString shown = form_->EdTbPath->Text();
        ClickCentre(*form_->BtImportTbDat);
        return shown;
    }
    std::vector<AnsiString> ListRows() {
        std::vector<AnsiString> rows;
        for (int i = 0; i < form_->LVWord->Items().Count(); ++i) rows.push_back(form_->LVWord->Items()[i]->Caption());
        return rows;
    }
    template <typename Hit>
    static std::vector<AnsiString> Headwords(const std::vector<Hit>& hits) {
        std::vector<AnsiString> words;
        for (const auto& h : hits) words.push_back(h.Eng);
        return words;
    }
    AnsiString Pane() { return form_->MemDetail->Text(); }

    struct Opened {
        std::string Verb;
        std::string File;
    };

    // The test's own program folder, removed with everything in it after the test.
    const ScratchFolder scratch_;
    const fs::path& root_ = scratch_.Path();
    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    TFrmMain* form_ = nullptr;
    std::vector<AnsiString> errors_;
    std::vector<Opened> opened_;
};
