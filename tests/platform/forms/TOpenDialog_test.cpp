// The plain open dialog run modally with real input.

#include <filesystem>
#include <fstream>

#include "FormsFixture.h"
#include "ScratchFolder.h"
#include "StdCtrlsTestSupport.h"
#include "TListView.h"
#include "TOpenDialog.h"

namespace {

namespace fs = std::filesystem;

class OpenDialogTest : public FormsTest {
protected:
    void SetUp() override {
        FormsTest::SetUp();
        dir_ = scratch_.Path();
        fs::create_directories(dir_ / "Words");
        for (const char* f : {"a.pas", "b.cpp", ".hidden.cpp", "Words/New.TXT"}) std::ofstream(dir_ / f) << "x";
        dialog = CreateComponent<TOpenDialog>(Application);
        dialog->Title = "Open file";
        dialog->Filter = "All files|*.*|*.pas|*.pas|*.cpp|*.cpp|*.rtf|*.rtf";
        dialog->Options = ofFileMustExist;
        dialog->InitialDir = dir_.string();
    }
    // Runs the steps one after another, each when the program next waits.
    void Steps(std::vector<std::function<void()>> steps) {
        steps_ = std::move(steps);
        NextStep();
    }
    void NextStep() {
        if (steps_.empty()) return;
        auto step = steps_.front();
        steps_.erase(steps_.begin());
        stdctrls_test::OnceIdle(screen(), [this, step] {
            step();
            NextStep();
        });
    }
    std::vector<AnsiString> Shown() {
        std::vector<AnsiString> out;
        TListView* list = dialog->FileList();
        for (int i = 0; i < list->Items().Count(); ++i) out.push_back(list->Items()[i]->Caption());
        return out;
    }
    void Type(const char* text) {
        screen().Text(text);
        screen().KeyPress(VK_RETURN);
    }
    ScratchFolder scratch_;
    fs::path dir_;
    TOpenDialog* dialog = nullptr;
    std::vector<std::function<void()>> steps_;
};

TEST_F(OpenDialogTest, TypingAFolderOpensItAndTypingAFileChoosesIt) {
    std::vector<AnsiString> first, inWords;
    Steps({[&] {
               first = Shown();
               Type("Words");
           },
           [&] {
               inWords = Shown();
               Type("New.TXT");
           }});
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(first, (std::vector<AnsiString>{"[Words]", "a.pas", "b.cpp"}));  // hidden files left out
    EXPECT_EQ(inWords, (std::vector<AnsiString>{"New.TXT"}));
    EXPECT_EQ(dialog->FileName, dir_.string() + "/Words/New.TXT");
    EXPECT_EQ(dialog->FileList(), nullptr);
}

TEST_F(OpenDialogTest, TheFilterAndHiddenOptionDecideWhichFilesShow) {
    dialog->FilterIndex = 3;
    dialog->Options |= ofForceShowHidden;
    std::vector<AnsiString> shown;
    Steps({[&] {
        shown = Shown();
        screen().KeyPress(VK_ESCAPE);
    }});
    EXPECT_FALSE(dialog->Execute());
    EXPECT_EQ(shown, (std::vector<AnsiString>{"[Words]", ".hidden.cpp", "b.cpp"}));
}

TEST_F(OpenDialogTest, AMissingFileIsRefusedWithAMessageAndTheDialogStays) {
    bool stillOpen = false;
    Steps({[&] { Type("nothing.txt"); },
           [&] { screen().KeyPress(VK_RETURN); },  // closes the message box
           [&] {
               stillOpen = dialog->FileList() != nullptr;
               screen().KeyPress(VK_ESCAPE);
           }});
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(stillOpen);
}

TEST_F(OpenDialogTest, DoubleClickingAFileChoosesIt) {
    Steps({[&] {
        TListView* list = dialog->FileList();
        const TRect r = list->RowRect(1);  // a.pas
        const TPoint p = list->ClientToScreen({20, r.Top + 3});
        screen().Click(p.X, p.Y);
        screen().Click(p.X, p.Y);
    }});
    ASSERT_TRUE(dialog->Execute());
    EXPECT_EQ(dialog->FileName, dir_.string() + "/a.pas");
}

}  // namespace
