// The file list, the folder box and the open dialog on the headless screen:
// refreshing keeps the position, header clicks sort and reverse, keys and
// double clicks move between folders, the typed-name rules, the history,
// names on disk that are UTF-8, and folders that cannot be read or vanish.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "Exceptions.h"
#include "HeadlessBackend.h"
#include "OpenDialogChoice.h"
#include "ProgramResources.h"
#include "ScopedProcessState.h"
#include "ScratchFolder.h"
#include "TbsMessageForm.h"
#include "TbsOpenDlgForm.h"
#include "TbsSkinStdLabel.h"
#include "TbsSkinButton.h"
#include "TbsSkinEdit.h"
#include "TbsSkinFileListView.h"
#include "TbsSkinFilterComboBox.h"
#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"
#include "TbsSkinMenuItem.h"
#include "TbsSkinMenuSpeedButton.h"
#include "TbsSkinPopupWindow.h"
#include "TbsSkinOpenDialog.h"
#include "TbsSkinShellComboBox.h"
#include "WindowSystem.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& p, std::size_t size = 1) { std::ofstream(p) << std::string(size, 'x'); }

std::string Slash(const fs::path& p) { return p.string() + "/"; }

// The names the list shows, in order.
std::vector<std::string> Shown(TbsCustomShellListView& list) {
    std::vector<std::string> names;
    for (int i = 0; i < list.FolderCount(); ++i) names.push_back(list.Folders(i)->RelativeId());
    return names;
}

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<HeadlessBackend>(1024, 768);
        screen_ = backend.get();
        session_ = std::make_unique<WindowSystemSession>(std::move(backend));
        app_ = std::make_unique<ApplicationSession>();
    }
    void TearDown() override {
        screen_->SetIdleHandler(nullptr);
        app_.reset();
        session_.reset();
    }
    HeadlessBackend* screen_ = nullptr;
    std::unique_ptr<WindowSystemSession> session_;
    std::unique_ptr<ApplicationSession> app_;
    ScratchFolder scratch_;
};

// A shown form holding a focused file list.
class FileListTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        form_ = CreateUnowned<TForm>();
        form_->SetBounds(10, 10, 500, 400);
        list_ = CreateComponent<TbsSkinFileListView>(form_.get());
        list_->SetParent(form_.get());
        list_->SetAlign(alClient);
        form_->Show();
        list_->SetFocus();
        Application->ProcessMessages();
    }
    void TearDown() override {
        form_.reset();
        ScreenTest::TearDown();
    }
    void Go(const fs::path& p) { list_->SetPathFromID(TbsShellFolder::ForPath(p.string())); }
    void Key(int vk) {
        screen_->KeyPress(vk);
        Application->ProcessMessages();
    }
    // A double click on row `index`.
    void DoubleClickRow(int index) {
        const TRect r = list_->RowRect(index);
        const TPoint p = list_->ClientToScreen({r.Left + 20, (r.Top + r.Bottom) / 2});
        screen_->Click(p.X, p.Y);
        screen_->Click(p.X, p.Y);
        Application->ProcessMessages();
    }

    TComponentPtr<TForm> form_;
    TbsSkinFileListView* list_ = nullptr;
};

TEST_F(FileListTest, RefreshKeepsTheSelectedPosition) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) Touch(scratch_.Path() / n);
    Go(scratch_.Path());
    list_->SetItemIndex(2);
    Key(VK_F5);
    EXPECT_EQ(list_->ItemIndex(), 2);

    // A new entry before it: the position is kept, not the entry.
    Touch(scratch_.Path() / "0.txt");
    Key(VK_F5);
    EXPECT_EQ(list_->FolderCount(), 4);
    EXPECT_EQ(list_->ItemIndex(), 2);
    EXPECT_EQ(list_->SelectedFolder()->RelativeId(), "b.txt");

    // The position gone: nothing is selected.
    list_->SetItemIndex(3);
    fs::remove(scratch_.Path() / "c.txt");
    fs::remove(scratch_.Path() / "b.txt");
    Key(VK_F5);
    EXPECT_EQ(list_->ItemIndex(), -1);
}

TEST_F(FileListTest, HeaderClicksSortAndReverse) {
    fs::create_directory(scratch_.Path() / "dir");
    Touch(scratch_.Path() / "b.txt", 1);
    Touch(scratch_.Path() / "A.txt", 30);
    Touch(scratch_.Path() / "c.dat", 5);
    list_->SetViewStyle(vsReport);
    Go(scratch_.Path());
    ASSERT_EQ(list_->Columns().Count(), 4);
    EXPECT_EQ(list_->Columns()[0]->Caption(), "名称");
    EXPECT_EQ(Shown(*list_), (std::vector<std::string>{"dir", "A.txt", "b.txt", "c.dat"}));

    list_->ColumnClicked(0);  // the sort column again: reversed, folders included
    EXPECT_EQ(Shown(*list_), (std::vector<std::string>{"c.dat", "b.txt", "A.txt", "dir"}));
    list_->ColumnClicked(1);  // another column: ascending by size, folders first
    EXPECT_EQ(Shown(*list_), (std::vector<std::string>{"dir", "b.txt", "c.dat", "A.txt"}));
    list_->ColumnClicked(1);
    EXPECT_EQ(Shown(*list_), (std::vector<std::string>{"A.txt", "c.dat", "b.txt", "dir"}));
    list_->ColumnClicked(2);  // by type
    EXPECT_EQ(Shown(*list_), (std::vector<std::string>{"dir", "c.dat", "A.txt", "b.txt"}));

    // With one column (a virtual folder) only the first reacts.
    list_->SetPathFromID(TbsShellFolder::Desktop());
    ASSERT_EQ(list_->Columns().Count(), 1);
    const int column = list_->SortColumn();
    list_->ColumnClicked(3);
    EXPECT_EQ(list_->SortColumn(), column);
}

TEST_F(FileListTest, DoubleClickEntersBackspaceLeavesEnterOpensTypingFinds) {
    fs::create_directories(scratch_.Path() / "inner" / "deeper");
    Touch(scratch_.Path() / "zeta.txt");
    Touch(scratch_.Path() / "zebra.txt");
    Go(scratch_.Path());
    ASSERT_EQ(list_->Folders(0)->RelativeId(), "inner");

    DoubleClickRow(0);
    EXPECT_EQ(list_->Path(), Slash(scratch_.Path() / "inner"));
    list_->SetItemIndex(0);
    Key(VK_RETURN);
    EXPECT_EQ(list_->Path(), Slash(scratch_.Path() / "inner" / "deeper"));
    Key(VK_BACK);
    Key(VK_BACK);
    EXPECT_EQ(list_->Path(), Slash(scratch_.Path()));

    // Typed letters: "z" goes to the first z-name after the current entry,
    // "ze" + "t" narrows to zeta; another "z" later moves on, wrapping.
    list_->SetItemIndex(0);
    screen_->Text("zet");
    Application->ProcessMessages();
    EXPECT_EQ(list_->SelectedFolder()->RelativeId(), "zeta.txt");
    screen_->Advance(2000);
    screen_->Text("z");
    Application->ProcessMessages();
    EXPECT_EQ(list_->SelectedFolder()->RelativeId(), "zebra.txt");
}

TEST_F(FileListTest, ADeletedFolderGivesWayToItsNearestParent) {
    fs::create_directories(scratch_.Path() / "a" / "b");
    auto box = CreateComponent<TbsSkinShellComboBox>(form_.get());
    box->SetParent(form_.get());
    list_->SetShellComboBox(box);
    Go(scratch_.Path() / "a" / "b");
    EXPECT_EQ(box->SelectedFolder()->Path(), (scratch_.Path() / "a" / "b").string());
    fs::remove_all(scratch_.Path() / "a");
    Key(VK_F5);
    EXPECT_EQ(list_->Path(), Slash(scratch_.Path()));
    EXPECT_EQ(box->SelectedFolder()->Path(), scratch_.Path().string());
    // Choosing an item in the box sends the list there; the levels grow by one.
    const auto& entries = box->Entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries[0].Level, 0);
    EXPECT_EQ(entries[std::size_t(box->ItemIndex())].Level, entries[std::size_t(box->ItemIndex()) - 1].Level + 1);
    box->SetItemIndex(box->ItemIndex() - 1);
    EXPECT_EQ(list_->Path(), Slash(scratch_.Path().parent_path()));
}

TEST_F(FileListTest, AnUnreadableFolderShowsFewerEntries) {
    fs::create_directory(scratch_.Path() / "open");
    fs::create_directory(scratch_.Path() / "closed");
    Touch(scratch_.Path() / "closed" / "secret.txt");
    ::chmod((scratch_.Path() / "closed").c_str(), 0);
    WithoutFileAccessOverride asUser;
    Go(scratch_.Path());
    EXPECT_EQ(Shown(*list_), (std::vector<std::string>{"closed", "open"}));
    Go(scratch_.Path() / "closed");
    EXPECT_EQ(list_->FolderCount(), 0);
    EXPECT_EQ(list_->Path(), Slash(scratch_.Path() / "closed"));
}

TEST_F(FileListTest, RenamingInPlaceRenamesOnDiskAndReportsARefusal) {
    Touch(scratch_.Path() / "a.txt");
    Touch(scratch_.Path() / "b.txt");
    std::vector<std::string> errors;
    Application->OnException = [&](TObject*, const std::exception& e) { errors.push_back(e.what()); };
    Go(scratch_.Path());
    const auto rename = [&](int index, const char* name) {
        ASSERT_TRUE(list_->EditCaption(index));
        list_->Editor()->SetText(name);
        Key(VK_RETURN);
    };
    rename(0, "c.txt");
    EXPECT_TRUE(fs::exists(scratch_.Path() / "c.txt"));
    EXPECT_FALSE(fs::exists(scratch_.Path() / "a.txt"));
    EXPECT_TRUE(errors.empty());
    rename(list_->IndexOfName("b.txt"), "c.txt");  // onto an existing name: refused, nothing lost
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Rename to c.txt failed");
    EXPECT_TRUE(fs::exists(scratch_.Path() / "b.txt"));
}

TEST_F(FileListTest, PropertiesShowSizeKindTimeAndPermissions) {
    Touch(scratch_.Path() / "a.txt", 1234);
    ::chmod((scratch_.Path() / "a.txt").c_str(), 0640);
    Go(scratch_.Path());
    AnsiString text;
    screen_->SetIdleHandler([&] {
        auto* box = dynamic_cast<TbsMessageForm*>(Screen->ActiveForm());
        if (!box) return;
        text = box->MessageLabel()->Caption();
        PostMessage(box->Handle(), WM_CLOSE, 0, 0);
    });
    list_->ShowProperties(list_->Folders(0));
    screen_->SetIdleHandler(nullptr);
    for (const char* part : {"a.txt", "1234", "txt", "rw-r-----"}) EXPECT_NE(text.find(part), AnsiString::npos) << part;
    EXPECT_NE(text.find(std::string(list_->Folders(0)->DetailText(sdModified))), AnsiString::npos);
}

TEST(OpenDialogChoice, TypedNamesResolveFromTheFolder) {
    ScratchFolder scratch;
    fs::create_directory(scratch.Path() / "sub");
    Touch(scratch.Path() / "words.pas");
    Touch(scratch.Path() / "words");
    Touch(scratch.Path() / "sub" / "in.txt");
    Touch(scratch.Path() / "chosen.txt");
    EnvVar home("HOME", scratch.Path().string());
    const std::string d = Slash(scratch.Path());
    struct Case {
        const char* what;
        std::string selected;
        AnsiString typed;
        AnsiString defaultExt, pattern;
        bool check;
        std::optional<std::string> chosen;
    };
    const Case cases[] = {
        {"plain name, type *.pas", "", "words", "", "*.pas", true, d + "words.pas"},
        {"plain name, type *.*", "", "words", "", "*.*", true, d + "words"},
        {"DefaultExt wins", "", "in", "txt", "*.pas", true, std::nullopt},
        {"DefaultExt, relative path", "", "sub/in", "txt", "*.*", true, d + "sub/in.txt"},
        {"first of several patterns", "", "chosen", "", "*.txt;*.log", true, d + "chosen.txt"},
        {"home folder", "", "~/chosen.txt", "", "*.*", true, d + "chosen.txt"},
        {"absolute path", "", AnsiString(d + "sub/in.txt"), "", "*.*", true, d + "sub/in.txt"},
        {"missing file must exist", "", "nothere.txt", "", "*.*", true, std::nullopt},
        {"missing file may be new", "", "new.txt", "", "*.*", false, d + "new.txt"},
        {"selection wins", d + "words", "other", "", "*.*", true, d + "words"},
        {"nothing typed", d + "words", "", "", "*.*", true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OpenChoiceState s;
        s.Selected = c.selected;
        s.Typed = c.typed;
        s.Folder = d;
        s.DefaultExt = c.defaultExt;
        s.Pattern = c.pattern;
        s.CheckFileExists = c.check;
        EXPECT_EQ(ChooseOpenFile(s), c.chosen);
    }
    EXPECT_EQ(DefaultExtension("", "*.pas"), ".pas");
    EXPECT_EQ(DefaultExtension("", "*.*"), "");
}

TEST(OpenDialogFilter, PairsInOrderWithTheirPatterns) {
    auto pairs = SplitFileFilter("All files|*.*|*.pas|*.pas|*.cpp|*.cpp|*.rtf|*.rtf");
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[1].Description, "*.pas");
    EXPECT_EQ(pairs[0].Pattern, "*.*");
    pairs = SplitFileFilter("Text|*.txt|Orphan|");
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[1].Pattern, "");
    EXPECT_EQ(SplitFileFilter("Text|*.txt|dropped").size(), 1u);
}

// The whole dialog, driven while it waits.
class OpenDialogTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        dialog_ = CreateUnowned<TbsSkinOpenDialog>();
        Application->OnException = [this](TObject*, const std::exception& e) { errors_.push_back(e.what()); };
    }
    void TearDown() override {
        dialog_.reset();
        ScreenTest::TearDown();
    }
    // Runs the dialog; `steps` run one by one each time it waits, then it is
    // cancelled when still open.
    bool Run(std::vector<std::function<void(TbsOpenDlgForm&)>> steps, std::function<bool()> show = {}) {
        std::size_t next = 0;
        stillOpen_ = false;
        screen_->SetIdleHandler([&] {
            TbsOpenDlgForm* form = dialog_->Form();
            if (!form) return;
            if (next < steps.size()) {
                steps[next++](*form);
                // A step that only calls the window still counts as input.
                PostMessage(form->Handle(), WM_NULL, 0, 0);
                return;
            }
            stillOpen_ = true;
            form->SetModalResult(mrCancel);
            PostMessage(form->Handle(), WM_NULL, 0, 0);
        });
        const bool ok = show ? show() : dialog_->ShowOpenDialog();
        screen_->SetIdleHandler(nullptr);
        return ok;
    }
    void Type(TbsOpenDlgForm& f, const AnsiString& text) {
        f.NameEdit()->SetText(text);
        f.NameEdit()->SetFocus();
        screen_->KeyPress(VK_RETURN);
    }

    TComponentPtr<TbsSkinOpenDialog> dialog_;
    std::vector<std::string> errors_;
    bool stillOpen_ = false;
};

TEST_F(OpenDialogTest, AChineseNameFromAUtf8FolderGivesItsRealBytes) {
    const std::string name = "\xE8\xAF\x8D\xE8\xA1\xA8.txt";  // 词表.txt in UTF-8
    Touch(scratch_.Path() / name);
    Touch(scratch_.Path() / "other.txt");
    dialog_->InitialDir = scratch_.Path().string();
    dialog_->Filter = "Word lists|*.txt";
    AnsiString shown;
    ASSERT_TRUE(Run({[&](TbsOpenDlgForm& f) {
        TbsSkinFileListView* list = f.FileList();
        const int index = list->IndexOfName(name);
        ASSERT_GE(index, 0);
        list->SetItemIndex(index);
        shown = f.NameEdit()->Text();
        f.ChooseFile();
    }}));
    EXPECT_EQ(shown, "词表.txt");  // GBK on screen
    EXPECT_EQ(std::string(dialog_->FileName), (scratch_.Path() / name).string());
    ASSERT_EQ(dialog_->Files().size(), 1u);

    // Typed in GBK, the name still finds the file on disk.
    dialog_->FileName = "";
    ASSERT_TRUE(Run({[&](TbsOpenDlgForm& f) { Type(f, "词表"); }}));
    EXPECT_EQ(std::string(dialog_->FileName), (scratch_.Path() / name).string());
}

// The main window's calls, written for the plain dialog, as they stand.
TEST_F(OpenDialogTest, TheMainWindowsCallsWorkUnchanged) {
    Touch(scratch_.Path() / "words.pas");
    TbsSkinOpenDialog* OpDialog = dialog_.get();
    OpDialog->Title = "Open file";
    OpDialog->Filter = "All files|*.*|*.pas|*.pas|*.cpp|*.cpp|*.rtf|*.rtf";
    OpDialog->FilterIndex = 2;
    OpDialog->Options = ofFileMustExist;
    OpDialog->InitialDir = scratch_.Path().string();
    AnsiString caption;
    int types = 0;
    const auto typeName = [&](TbsOpenDlgForm& f) {
        caption = f.Caption();
        types = f.FilterBox()->Items().Count();
        Type(f, "words");  // the chosen type's extension is added
    };
    ASSERT_TRUE(Run({typeName}, [&] { return OpDialog->Execute(); }));
    EXPECT_EQ(caption, "Open file");
    EXPECT_EQ(types, 4);
    EXPECT_EQ(std::string(OpDialog->FileName), (scratch_.Path() / "words.pas").string());
    EXPECT_EQ(OpDialog->FilterIndex, 2);
}

TEST_F(OpenDialogTest, TypedPathsGoToFoldersAndAMissingOneIsReported) {
    fs::create_directories(scratch_.Path() / "a" / "b");
    Touch(scratch_.Path() / "a" / "b" / "x.txt");
    dialog_->InitialDir = scratch_.Path().string();
    std::vector<std::string> paths;
    std::optional<EnvVar> home;
    const bool ok = Run({
        [&](TbsOpenDlgForm& f) { Type(f, "a/b"); },
        [&](TbsOpenDlgForm& f) {
            paths.push_back(f.FileList()->Path());
            // Only now: fontconfig reads its user configuration from the
            // home folder when the first text is drawn.
            home.emplace("HOME", (scratch_.Path() / "a").string());
            Type(f, "~");
        },
        [&](TbsOpenDlgForm& f) {
            home.reset();
            paths.push_back(f.FileList()->Path());
            Type(f, "nowhere/x.txt");
        },
        [&](TbsOpenDlgForm& f) { paths.push_back(f.FileList()->Path()); Type(f, "*.txt"); },
        [&](TbsOpenDlgForm& f) { Type(f, AnsiString((scratch_.Path() / "a" / "b" / "x.txt").string())); },
    });
    EXPECT_EQ(paths, (std::vector<std::string>{Slash(scratch_.Path() / "a" / "b"), Slash(scratch_.Path() / "a"),
                                               Slash(scratch_.Path() / "a")}));
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0], "Error setting path: \"nowhere/x.txt\"");
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::string(dialog_->FileName), (scratch_.Path() / "a" / "b" / "x.txt").string());
}

TEST_F(OpenDialogTest, BackWalksTheHistoryUpGoesToTheParent) {
    fs::create_directories(scratch_.Path() / "a" / "b");
    dialog_->InitialDir = scratch_.Path().string();
    std::vector<std::string> paths;
    const auto note = [&](TbsOpenDlgForm& f) { paths.push_back(f.FileList()->Path()); };
    Run({
        [&](TbsOpenDlgForm& f) { f.FileList()->SetPath("a"); },
        [&](TbsOpenDlgForm& f) { f.FileList()->SetPath("b"); },
        [&](TbsOpenDlgForm& f) { f.GoBack(); note(f); },
        [&](TbsOpenDlgForm& f) { f.GoBack(); note(f); },
        [&](TbsOpenDlgForm& f) { f.GoBack(); note(f); },  // nothing more to go back to
        [&](TbsOpenDlgForm& f) { f.GoUp(); note(f); },
    });
    const std::string top = Slash(scratch_.Path());
    EXPECT_EQ(paths, (std::vector<std::string>{Slash(scratch_.Path() / "a"), top, top, Slash(scratch_.Path().parent_path())}));
}

TEST_F(OpenDialogTest, CancelKeepsTheFileButRemembersSizeTypeAndView) {
    Touch(scratch_.Path() / "a.txt");
    dialog_->FileName = (scratch_.Path() / "a.txt").string();
    dialog_->Filter = "All files|*.*|Text|*.txt";
    EXPECT_FALSE(Run({[&](TbsOpenDlgForm& f) {
        EXPECT_EQ(f.NameEdit()->Text(), "a.txt");
        EXPECT_EQ(f.FileList()->Path(), Slash(scratch_.Path()));
        f.FilterBox()->SetItemIndex(1);
        f.SetViewStyle(vsReport);
        f.SetClientWidth(600);
        f.SetClientHeight(400);
        // Controls follow the new size.
        EXPECT_EQ(f.OpenButton()->Left(), 600 - 80);
        EXPECT_EQ(f.NameEdit()->Width(), 600 - 160);
        screen_->KeyPress(VK_ESCAPE);
    }}));
    EXPECT_FALSE(stillOpen_);
    EXPECT_EQ(std::string(dialog_->FileName), (scratch_.Path() / "a.txt").string());
    EXPECT_EQ(dialog_->FilterIndex, 2);
    EXPECT_EQ(dialog_->DialogWidth, 600);
    EXPECT_EQ(dialog_->DialogHeight, 400);
    EXPECT_EQ(dialog_->ViewStyle(), vsReport);
}

TEST_F(OpenDialogTest, TheViewButtonOpensTheViewMenuAndStaysPressedWhileItIsOpen) {
    dialog_->InitialDir = scratch_.Path().string();
    const auto engine = [](TbsOpenDlgForm& f) -> TbsSkinMenu& { return FindSkinFormOf(&f)->SkinMenu(); };
    Run({[&](TbsOpenDlgForm& f) {
             const TPoint c = f.ViewMenuButton()->ClientToScreen({10, 12});
             screen_->Click(c.X, c.Y);
         },
         [&](TbsOpenDlgForm& f) {
             ASSERT_EQ(engine(f).PopupCount(), 1);
             EXPECT_TRUE(f.ViewMenuButton()->Down());
             TbsSkinPopupWindow& p = *engine(f).PopupAt(0);
             ASSERT_EQ(p.Items().size(), 4u);
             const TRect& details = p.Items()[3]->ItemRect;
             screen_->Click(p.Left() + details.Left + 20, p.Top() + (details.Top + details.Bottom) / 2);
         },
         [&](TbsOpenDlgForm& f) {
             EXPECT_EQ(engine(f).PopupCount(), 0);
             EXPECT_FALSE(f.ViewMenuButton()->Down());
             EXPECT_EQ(f.ViewStyle(), vsReport);
         }});
    EXPECT_TRUE(stillOpen_);
}

// The drop-down boxes take the control translucency settings, the fade-in
// included, and the tool buttons show the program's pictures with no text.
TEST_F(OpenDialogTest, TheBoxesTakeTheControlFadeAndTheToolButtonsShowTheProgramsPictures) {
    dialog_->InitialDir = scratch_.Path().string();
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "on" : "off");
        dialog_->CtrlAlphaBlend = on;
        dialog_->CtrlAlphaBlendAnimation = on;
        dialog_->CtrlAlphaBlendValue = on ? 180 : 225;
        Run({[&](TbsOpenDlgForm& f) {
            for (TbsSkinCustomComboBox* box : {static_cast<TbsSkinCustomComboBox*>(f.FolderBox()),
                                               static_cast<TbsSkinCustomComboBox*>(f.FilterBox())}) {
                EXPECT_EQ(box->AlphaBlend(), on) << box->Name();
                EXPECT_EQ(box->AlphaBlendAnimation(), on) << box->Name();
                EXPECT_EQ(box->AlphaBlendValue(), on ? 180 : 225) << box->Name();
            }
        }});
    }
    Run({[&](TbsOpenDlgForm& f) {
        const struct {
            TbsSkinSpeedButton* button;
            const char* picture;
        } buttons[] = {{f.BackButton(), "BS_BACK"},
                       {f.UpButton(), "BS_UP"},
                       {f.NewFolderButton(), "BS_NEWFOLDER"},
                       {f.ViewMenuButton(), "BS_LVSTYLE"}};
        for (const auto& b : buttons) {
            SCOPED_TRACE(b.picture);
            const std::string_view bytes = FindProgramResource("BITMAP", b.picture);
            ASSERT_NE(bytes.data(), nullptr);
            TBitmap expected;
            expected.LoadFromBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
            EXPECT_EQ(b.button->Caption(), "");
            const TBitmap& glyph = b.button->Glyph();
            ASSERT_EQ(glyph.Width(), expected.Width());
            ASSERT_EQ(glyph.Height(), expected.Height());
            int differing = 0;
            for (int y = 0; y < glyph.Height(); ++y)
                for (int x = 0; x < glyph.Width(); ++x) differing += glyph.Pixels(x, y) != expected.Pixels(x, y);
            EXPECT_EQ(differing, 0);
        }
    }});
}

TEST_F(OpenDialogTest, EnterOnAFileChoosesItAndMultiSelectionGivesEveryFile) {
    for (const char* n : {"a.txt", "b.txt", "c.txt"}) Touch(scratch_.Path() / n);
    fs::create_directory(scratch_.Path() / "dir");
    dialog_->InitialDir = scratch_.Path().string();
    ASSERT_TRUE(Run({[&](TbsOpenDlgForm& f) {
        f.FileList()->SetFocus();
        f.FileList()->SetItemIndex(f.FileList()->IndexOfName("b.txt"));
        screen_->KeyPress(VK_RETURN);
    }}));
    EXPECT_EQ(std::string(dialog_->FileName), (scratch_.Path() / "b.txt").string());

    dialog_->MultiSelection = true;
    ASSERT_TRUE(Run({[&](TbsOpenDlgForm& f) {
        TbsSkinFileListView* list = f.FileList();
        for (const char* n : {"dir", "a.txt", "c.txt"}) list->Items().SetItemSelected(list->IndexOfName(n), true);
        f.ChooseFile();
    }}));
    // The first selected entry is a folder: the name box (the last file
    // picked) names the file.
    EXPECT_EQ(std::string(dialog_->FileName), (scratch_.Path() / "c.txt").string());
    ASSERT_EQ(dialog_->Files().size(), 2u);
    EXPECT_EQ(std::string(dialog_->Files()[1]), (scratch_.Path() / "c.txt").string());
}

TEST_F(OpenDialogTest, NewFoldersAreNumberedFromTheSecond) {
    dialog_->InitialDir = scratch_.Path().string();
    Run({[&](TbsOpenDlgForm& f) { f.NewFolder(); }, [&](TbsOpenDlgForm& f) {
             f.FileList()->EndEdit(false);
             f.NewFolder();
             f.FileList()->EndEdit(false);
         }});
    EXPECT_TRUE(fs::is_directory(scratch_.Path() / "\xE6\x96\xB0\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9"));
    EXPECT_TRUE(fs::is_directory(scratch_.Path() / "\xE6\x96\xB0\xE6\x96\x87\xE4\xBB\xB6\xE5\xA4\xB9(2)"));
}

}  // namespace
