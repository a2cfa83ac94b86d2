// The main window on the headless screen: the start-up sequence with its
// failure behaviour, translating and picking hits through real input, the
// import path chosen in the open dialog, and the buttons and the double
// click reaching the dictionary's tools.

#include "main.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "AppPaths.h"
#include "CommandLine.h"
#include "DatabaseFile.h"
#include "DbPassword.h"
#include "Exceptions.h"
#include "HeadlessBackend.h"
#include "LocalHttpServer.h"
#include "MeantWords.h"
#include "MainWindowFixture.h"
#include "ScopedProcessState.h"
#include "ScratchFolder.h"
#include "SqlcipherShell.h"
#include "WindowSystem.h"
#include "WordDatabase.h"
#include "WordList.h"
#include "WordTable.h"

namespace {

// ---- start-up ---------------------------------------------------------------------------------

TEST_F(MainWindowTest, StartUpLoadsTheSkinAndPutsDatabaseRowsBeforeTheEmbeddedList) {
    WithDatabase();
    TFrmMain& form = Start();

    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_FALSE(form.bsSkinData1->IsEmpty());
    const std::vector<std::string_view> embedded = LoadEmbeddedWordList();
    ASSERT_EQ(WordTable.Length(), kStarterRows + embedded.size());
    EXPECT_EQ(WordTable[0].Eng, "abandon");  // the first database row
    EXPECT_EQ(AnsiString(WordTable[kStarterRows].Eng), AnsiString(SplitWordLine(embedded[0]).Headword));
    EXPECT_EQ(form.CurrentAdIndex, -1);
    ASSERT_NE(form.CmbBxWord->DataList(), nullptr);
    EXPECT_EQ(form.CmbBxWord->DataList()->Count(), 0);
    EXPECT_TRUE(form.IsVisibleOnScreen());
}

TEST_F(MainWindowTest, TheFrameKeepsTheWindowAtItsFixedSizeWithAndWithoutSkin) {
    for (const bool skinned : {false, true}) {
        SCOPED_TRACE(skinned ? "skinned" : "built-in frame");
        if (!skinned) WithoutSkin();
        else WithSkin();
        TFrmMain& form = Start();
        EXPECT_EQ(form.bsSkinForm1->UsesSkin(), skinned);
        const auto expectFixed = [&form] {
            EXPECT_GE(form.Width(), 550);
            EXPECT_LE(form.Width(), 551);
            EXPECT_GE(form.Height(), 390);
            EXPECT_LE(form.Height(), 391);
        };
        expectFixed();
        form.SetBounds(form.Left(), form.Top(), 700, 500);
        expectFixed();
        form.SetBounds(form.Left(), form.Top(), 300, 200);
        expectFixed();
        delete form_;
        form_ = nullptr;
    }
}

TEST_F(MainWindowTest, ThreeAdFilesShortenTheGlossPaneFewerDoNot) {
    // Names are listed lower-cased; a directory named like an ad counts too.
    WithAds({"1.swf", "Ad.SWF"});
    Start();
    EXPECT_EQ(form_->MemDetail->Height(), 295);
    EXPECT_FALSE(form_->MySWF->Visible());
    std::vector<AnsiString> listed;
    for (int i = 0; i < form_->AdFiles->Count(); ++i) listed.push_back(form_->AdFiles->Strings(i));
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<AnsiString>{"1.swf", "ad.swf"}));
    FreeComponent(form_);
    fs::create_directory(root_ / "dat" / "ad" / "x.swf");
    Start();
    EXPECT_EQ(form_->MemDetail->Height(), 240);
    EXPECT_TRUE(form_->MySWF->Visible());
    EXPECT_EQ(form_->AdFiles->Count(), 3);
}

TEST_F(MainWindowTest, TheBannerShowsARandomAdEveryTenSeconds) {
    for (const char* name : {"ad1.swf", "ad2.swf", "ad3.swf"})
        fs::copy_file(fs::path(MIRVO_SOURCE_DIR) / "dat" / "ad" / name, root_ / "dat" / "ad" / name);
    Start();
    ASSERT_TRUE(form_->MySWF->Visible());
    form_->MySWF->SetBackgroundColor(0x123456);
    screen_->Advance(9990);
    EXPECT_EQ(form_->MySWF->Movie(), "");
    screen_->Advance(20);
    ASSERT_GE(form_->CurrentAdIndex, 0);
    EXPECT_EQ(form_->MySWF->Movie(), AppDir + "dat/ad/" + form_->AdFiles->Strings(form_->CurrentAdIndex));
    EXPECT_EQ(form_->MySWF->ScaleMode(), 2);
    EXPECT_EQ(form_->MySWF->BackgroundColor(), 0xFFFFFF);

    // Every ad comes up about a third of the time, repeats included.
    std::map<AnsiString, int> shown;
    for (int tick = 0; tick < 300; ++tick) {
        form_->TimerShowSWFTimer(form_->TimerShowSWF);
        ++shown[form_->MySWF->Movie()];
    }
    ASSERT_EQ(shown.size(), 3u);
    for (const auto& [movie, count] : shown) EXPECT_GT(count, 60) << movie;
}

TEST_F(MainWindowTest, ADatabaseThatCannotBeReadCostsOnlyItsOwnWords) {
    const fs::path db = root_ / "dat" / "WordLib.dat";
    const std::size_t builtIn = LoadEmbeddedWordList().size();
    std::unique_ptr<SqlcipherLock> lock;
    struct Case { const char* name; std::function<void()> make; const char* fault; };
    const Case cases[] = {
        {"missing", [] {}, "找不到或打不开单词库文件"},
        {"damaged",
         [&] {
             WithDatabase();
             std::fstream f(db, std::ios::in | std::ios::out | std::ios::binary);
             f.write("overwritten header bytes", 24);
         },
         "单词库文件已损坏，或不是本程序的单词库"},
        {"another key",
         [&] { CreateADODatabase("Provider=SQLCipher;Data Source=" + db.string() + ";Password=0123456789ABCDEF0123"); },
         "单词库文件已损坏，或不是本程序的单词库"},
        {"plain SQLite",
         [&] { ASSERT_EQ(RunSqlcipherShell(db.string(), "create table enword (eng text, chs text);\n").Status, 0); },
         "单词库文件已损坏，或不是本程序的单词库"},
        {"locked by another program",
         [&] {
             WithDatabase();
             lock = std::make_unique<SqlcipherLock>(db.string());
         },
         "单词库文件正被其他程序使用"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(db);
        c.make();
        errors_.clear();
        WordTable.Clear();
        if (form_) FreeComponent(form_);
        Start();
        lock.reset();
        EXPECT_TRUE(form_->IsVisibleOnScreen());
        ASSERT_EQ(errors_.size(), 1u);
        EXPECT_EQ(errors_[0].find(c.fault), 0u) << errors_[0];
        EXPECT_NE(errors_[0].find(db.string()), AnsiString::npos) << errors_[0];
        EXPECT_NE(errors_[0].find("这次只能查到程序自带的单词。"), AnsiString::npos) << errors_[0];
        EXPECT_EQ(errors_[0].find(MakeDbPassword(DbPasswordSeed)), AnsiString::npos);

        // The built-in words answer.
        EXPECT_EQ(WordTable.Length(), builtIn);
        Translate("apple");
        EXPECT_EQ(ListRows(), Headwords(LookupWords("apple")));
        EXPECT_FALSE(ListRows().empty());
        EXPECT_EQ(errors_.size(), 1u);
    }
}

TEST_F(MainWindowTest, TheBuiltInWordsAnswerWhileTheDatabaseIsReadAndItsWordsJoinThemAfter) {
    WithDatabase();
    const std::size_t builtIn = LoadEmbeddedWordList().size();
    // Another program holds the database: its words cannot be read yet.
    SqlcipherLock lock((root_ / "dat" / "WordLib.dat").string());
    StartShowing();
    ASSERT_TRUE(form_->DatabaseWordsLoading());
    EXPECT_EQ(WordTable.Length(), builtIn);
    Translate("abandon");
    const std::vector<AnsiString> builtInHits = ListRows();
    ASSERT_FALSE(builtInHits.empty());
    ClickRow(0);
    const AnsiString firstGloss = Pane();

    // Once the lock goes the database's words come in front of them, and the
    // hit list on screen still shows its own glosses.
    lock.Release();
    WaitForDatabaseWords();
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    ASSERT_EQ(WordTable.Length(), kStarterRows + builtIn);
    EXPECT_EQ(WordTable[0].Eng, "abandon");
    EXPECT_EQ(ListRows(), builtInHits);
    ClickRow(0);
    EXPECT_EQ(Pane(), firstGloss);
    Translate("abandon");
    EXPECT_EQ(ListRows(), Headwords(LookupWords("abandon")));
    EXPECT_EQ(form_->CmbBxWord->DataList()->Strings(0), "0");  // the database's record first
}

TEST_F(MainWindowTest, ClosingTheWindowWhileTheDatabaseIsReadEndsTheReading) {
    WithDatabase();
    auto lock = std::make_unique<SqlcipherLock>((root_ / "dat" / "WordLib.dat").string());
    StartShowing();
    ASSERT_TRUE(form_->DatabaseWordsLoading());
    form_->AdRefreshUrl = "http://127.0.0.1:9/adlist.htm";  // nothing answers there
    form_->Close();
    Pump();
    EXPECT_FALSE(form_->DatabaseWordsLoading());
    FreeComponent(form_);
    lock.reset();
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_EQ(WordTable.Length(), LoadEmbeddedWordList().size());
}

TEST_F(MainWindowTest, TheBannerTimerStopsForGoodWithoutAds) {
    Start();
    ASSERT_TRUE(form_->TimerShowSWF->Enabled());
    form_->TimerShowSWFTimer(form_->TimerShowSWF);
    EXPECT_FALSE(form_->TimerShowSWF->Enabled());
    EXPECT_EQ(form_->CurrentAdIndex, -1);
}

// ---- translate and pick -------------------------------------------------------------------------

TEST_F(MainWindowTest, TranslateListsTheHitsShowsTheFirstGlossAndFocusesTheList) {
    WithDatabase();
    Start();
    Translate("apple");

    // Stated literally too, so a fault in the lookup cannot hide behind
    // itself: the database row first, then the built-in lines in order, the
    // last one found by its gloss ("n.= toffee apple").
    const std::vector<AnsiString> expectedRows = {"apple",      "apple",      "apple butter", "apple head",
                                                  "apple juice", "apple pie",  "apple tree",   "apple-green",
                                                  "apple-pear",  "apple-pie",  "candy apple"};
    EXPECT_EQ(ListRows(), expectedRows);
    EXPECT_EQ(Pane(), "apple\r\n--------------------\r\nn.苹果,苹果树");

    const std::vector<TWordHit> hits = LookupWords("apple");
    ASSERT_GE(hits.size(), 3u);
    EXPECT_EQ(ListRows(), Headwords(hits));
    EXPECT_EQ(form_->CmbBxWord->Items().Count(), static_cast<int>(hits.size()));
    const TStrings& data = *form_->CmbBxWord->DataList();
    ASSERT_EQ(data.Count(), static_cast<int>(hits.size()));
    for (std::size_t i = 0; i < hits.size(); ++i) {
        EXPECT_EQ(form_->CmbBxWord->Items().Strings(int(i)), hits[i].Eng);
        EXPECT_EQ(data.Strings(int(i)), std::to_string(hits[i].Index));
    }
    EXPECT_EQ(Pane(), FormatGloss(hits[0].Index));
    EXPECT_TRUE(form_->LVWord->Focused());
    EXPECT_EQ(form_->LVWord->Selected(), nullptr);
}

TEST_F(MainWindowTest, EveryTranslateShowsItsFirstHitAlsoForTheSameWordAgain) {
    WithDatabase();
    Start();
    // A pane text typed by the user stays until a display replaces it.
    for (const char* word : {"apple", "apple", "apricot"}) {
        SCOPED_TRACE(word);
        form_->MemDetail->SetText("a note");
        Translate(word);
        EXPECT_EQ(ListRows(), Headwords(LookupWords(word)));
        EXPECT_EQ(Pane(), FormatGloss(LookupWords(word)[0].Index));
    }
    EXPECT_EQ(ListRows(), std::vector<AnsiString>{"apricot"});
    EXPECT_EQ(Pane(), "apricot\r\n--------------------\r\nn.杏子,杏树,杏黄色;adj.杏黄色的");
}

// A form or a spelling says what it is to the typed word above its gloss;
// a hit of the word itself shows its gloss alone.
TEST_F(MainWindowTest, FormsAndSpellingsStateTheirRelationAboveTheGloss) {
    WithDatabase();
    Start();
    struct Case {
        const char* typed;
        const char* first;
        const char* relation;
    };
    for (const Case& c : {Case{"went", "go", "went → go"}, Case{"recieve", "receive", "recieve → receive?"},
                          Case{"Apple", "apple", ""}}) {
        SCOPED_TRACE(c.typed);
        Translate(c.typed);
        const std::vector<TMeantHit> hits = LookupMeantWords(c.typed);
        ASSERT_FALSE(hits.empty());
        EXPECT_EQ(ListRows(), Headwords(hits));
        EXPECT_EQ(hits[0].Eng, c.first);
        const AnsiString gloss = FormatGloss(hits[0].Index);
        EXPECT_EQ(Pane(), *c.relation ? AnsiString(c.relation) + "\r\n" + gloss : gloss);
    }
    // Picking a later row shows that row's own relation, or none.
    Translate("better");
    const std::vector<TMeantHit> hits = LookupMeantWords("better");
    const auto own = std::find_if(hits.begin(), hits.end(), [](const TMeantHit& h) { return h.Relation.empty(); });
    ASSERT_NE(own, hits.end());
    ClickRow(static_cast<int>(own - hits.begin()));
    EXPECT_EQ(Pane(), FormatGloss(own->Index));
}

TEST_F(MainWindowTest, TranslatingAnEmptyWordBoxEmptiesListAndPane) {
    WithDatabase();
    Start();
    Translate("apple");
    Translate("");
    EXPECT_TRUE(ListRows().empty());
    EXPECT_EQ(form_->CmbBxWord->DataList()->Count(), 0);
    EXPECT_EQ(Pane(), "");
    EXPECT_TRUE(form_->LVWord->Focused());
}

TEST_F(MainWindowTest, ClickedRowsAndArrowKeysShowTheirGloss) {
    WithDatabase();
    Start();
    Translate("apple");
    const std::vector<TWordHit> hits = LookupWords("apple");

    ClickRow(1);
    EXPECT_EQ(Pane(), FormatGloss(hits[1].Index));
    EXPECT_EQ(Pane(), "apple\r\n--------------------\r\nn.苹果,家伙");  // the built-in line
    Key(VK_DOWN);
    EXPECT_EQ(Pane(), FormatGloss(hits[2].Index));
    EXPECT_EQ(Pane(), "apple butter\r\n--------------------\r\nn.苹果酱");
    Key(VK_UP);
    EXPECT_EQ(Pane(), FormatGloss(hits[1].Index));

}

TEST_F(MainWindowTest, AClickBelowTheRowsChangesNothing) {
    WithDatabase();
    Start();
    Translate("apricot");
    const int rows = form_->LVWord->Items().Count();
    ASSERT_GT(rows, 0);
    const TRect last = form_->LVWord->RowRect(rows - 1);
    ASSERT_LT(last.Bottom + 4, form_->LVWord->ClientHeight()) << "the word needs fewer hits";
    ClickRow(0);
    form_->MemDetail->SetText("typed by the user");
    ClickAt(*form_->LVWord, 20, last.Bottom + 3);
    EXPECT_EQ(form_->LVWord->Selected(), nullptr);
    EXPECT_EQ(Pane(), "typed by the user");
}

TEST_F(MainWindowTest, TheGlossPaneIsPaintedWithTheFirstHit) {
    WithDatabase();
    Start();
    TBitmap before;
    const TRect pane = form_->MemDetail->BoundsRect();
    const TPoint origin = form_->ClientToScreen({pane.Left, pane.Top});
    screen_->ReadScreenRect(Bounds(origin.X, origin.Y, pane.Width(), pane.Height()), before);
    Translate("apple");
    TBitmap after;
    screen_->ReadScreenRect(Bounds(origin.X, origin.Y, pane.Width(), pane.Height()), after);
    int changed = 0;
    for (int y = 0; y < after.Height(); ++y)
        for (int x = 0; x < after.Width(); ++x) changed += after.ScanLine(y)[x] != before.ScanLine(y)[x];
    EXPECT_GT(changed, 100);  // text drawn, not only a caret
}

// ---- the import path -------------------------------------------------------------------------------

TEST_F(MainWindowTest, TheOpenDialogPutsTheChosenFileIntoThePathBoxCancelChangesNothing) {
    // The path box starts at the user's home folder, written as a folder.
    fs::create_directory(root_ / "home");
    const EnvVar home("HOME", (root_ / "home").string());
    Start();
    const AnsiString startPath = (root_ / "home").string() + "/";
    EXPECT_EQ(form_->EdTbPath->Text(), startPath);
    fs::create_directory(root_ / "Words");
    WriteFile("Words/New.TXT", "cat|n.猫\r\n");
    WhenIdle({[this] { screen_->KeyPress(VK_ESCAPE); }});
    ClickCentre(*form_->BtOpenTbDatPath);
    EXPECT_EQ(form_->EdTbPath->Text(), startPath);

    const std::string chosen = (root_ / "Words" / "New.TXT").string();
    WhenIdle({[this, chosen] {
        screen_->Text(chosen);
        screen_->KeyPress(VK_RETURN);
    }});
    ClickCentre(*form_->BtOpenTbDatPath);
    EXPECT_EQ(form_->EdTbPath->Text(), chosen);
}

TEST_F(MainWindowTest, TheChosenFileIsTheFileImportedWhateverTheCaseOfItsName) {
    WithDatabase();
    Start();
    // Beside the chosen file lies one whose name differs only in case.
    fs::create_directory(root_ / "Words");
    WriteFile("Words/MyWords.TXT", "chosen|n.选中的\r\n");
    WriteFile("Words/mywords.txt", "other|n.另一个\r\n");
    const std::string chosen = (root_ / "Words" / "MyWords.TXT").string();
    EXPECT_EQ(ChooseAndImport(chosen), chosen);

    EXPECT_TRUE(errors_.empty()) << errors_.front();
    ASSERT_EQ(AppendDbRows(*form_->ADOQryESM, 0), kStarterRows + 1);
    EXPECT_EQ(WordTable[kStarterRows].Eng, "chosen");
}

TEST_F(MainWindowTest, AWordListNamedInChineseIsShownReadablyAndImported) {
    WithDatabase();
    Start();
    // Names on disk are UTF-8 (this file's plain literals are the window's text).
    const fs::path folder = root_ / std::u8string(u8"词库");
    fs::create_directory(folder);
    std::ofstream(folder / std::u8string(u8"单词表.txt"), std::ios::binary) << "zhongwen|n.中文\r\n";
    const std::string chosen = (folder / std::u8string(u8"单词表.txt")).string();
    // The box shows the name in the window's text, not its disk bytes.
    EXPECT_EQ(ChooseAndImport(chosen), Utf8ToAnsi(chosen));

    EXPECT_TRUE(errors_.empty()) << errors_.front();
    ASSERT_EQ(AppendDbRows(*form_->ADOQryESM, 0), kStarterRows + 1);
    EXPECT_EQ(WordTable[kStarterRows].Eng, "zhongwen");
}

// ---- the tools behind the buttons and the double click -------------------------------------------

TEST_F(MainWindowTest, TheMailButtonsHandTheirLinksToTheDesktop) {
    Start();
    ClickCentre(*form_->btMail);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0].Verb, "Open");
    EXPECT_EQ(opened_[0].File, std::string("mailto:") + ContactMailAddress);

    form_->EdTbPath->SetText(WriteFile("share.txt", "cat|n.猫\r\ndog|n.狗").string());
    ClickCentre(*form_->btShareWdMail);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1].Verb, "open");
    EXPECT_EQ(opened_[1].File, std::string("mailto:") + ContactMailAddress +
                                   "?subject=%E5%8D%95%E8%AF%8D%E5%85%B1%E4%BA%AB"
                                   "&body=%22cat%7Cn.%E7%8C%AB%0D%0Adog%7Cn.%E7%8B%97%0D%0A%22");
}

TEST_F(MainWindowTest, ImportAsksThenInsertsEveryLineAndOffersToShare) {
    WithDatabase();
    Start();
    form_->EdTbPath->SetText(WriteFile("new.txt", "zyxw|n.一\r\n\r\nqwzx|n.二\r\n").string());
    form_->MemDetail->SetText("old gloss");
    std::vector<AnsiString> captions;
    auto answer = [this, &captions](int vk) {
        return [this, &captions, vk] {
            captions.push_back(Screen->ActiveForm() ? Screen->ActiveForm()->Caption() : "");
            screen_->KeyPress(vk);
        };
    };
    // Enter answers Yes to the question; Escape answers No to the offer.
    std::vector<AnsiString> panes;
    auto answerSeeing = [&](int vk) {
        return [&, vk] {
            panes.push_back(Pane());
            answer(vk)();
        };
    };
    WhenIdle({answerSeeing(VK_RETURN), answerSeeing(VK_ESCAPE)});
    ClickCentre(*form_->BtImportTbDat);

    EXPECT_EQ(captions, (std::vector<AnsiString>{MainWindowTitle, "信息"}));
    // The question comes with the records to check in the pane.
    ASSERT_EQ(panes.size(), 2u);
    EXPECT_EQ(panes[0], "将导入2条记录：\r\nzyxw | n.一\r\nqwzx | n.二");  // the blank line is passed over
    EXPECT_EQ(Pane(), "");  // the progress is gone once the import is done
    EXPECT_TRUE(opened_.empty());
    EXPECT_EQ(SqlcipherRowCount((root_ / "dat" / "WordLib.dat").string()), long(kStarterRows + 2));
}

// What the command line prints for `word` with the database of the test's
// program folder: one line per hit, the headword, a tab, the gloss. It runs
// in a process of its own, as it does for the user (it fills and empties the
// word table of the process it runs in).
std::string CommandLineHits(const AnsiString& appDir, const char* word) {
    int out[2];
    if (pipe(out) != 0) return "pipe failed";
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        const CommandLineOutput output =
            RunCommandLine(ParseCommandLine(std::vector<std::string_view>{"-l", word}), appDir, "GBK");
        const std::string text = output.Status == kExitTrouble ? "trouble: " + output.Err : output.Out;
        for (std::size_t done = 0; done < text.size();) {
            const ssize_t n = write(out[1], text.data() + done, text.size() - done);
            if (n <= 0) break;
            done += std::size_t(n);
        }
        _exit(0);
    }
    close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, std::size_t(n));
    close(out[0]);
    waitpid(pid, nullptr, 0);
    return text;
}

TEST_F(MainWindowTest, ImportedWordsAreFoundAtOnceInTheOrderOfTheNextStart) {
    WithDatabase();
    Start();
    const auto windowHits = [this](const char* word) {
        form_->EdWord->SetText(word);
        ClickCentre(*form_->BtTran);
        std::string hits;
        for (int i = 0; i < form_->CmbBxWord->DataList()->Count(); ++i) {
            const TEngWord w = WordTable[std::size_t(StrToInt(form_->CmbBxWord->DataList()->Strings(i)))];
            hits += std::string(w.Eng) + "\t" + std::string(w.Chs) + "\n";
        }
        return hits;
    };
    // A hit list on screen before the import keeps showing its own glosses.
    Translate("apple");
    ClickRow(1);
    const AnsiString secondGloss = Pane();
    ASSERT_NE(secondGloss, "");

    form_->EdTbPath->SetText(WriteFile("new.txt", "apple|n.导入的苹果\r\nzyxwv|n.新词\r\n").string());
    WhenIdle({[this] { screen_->KeyPress(VK_RETURN); }, [this] { screen_->KeyPress(VK_ESCAPE); }});
    ClickCentre(*form_->BtImportTbDat);
    ASSERT_TRUE(errors_.empty()) << errors_.front();
    ClickRow(1);
    EXPECT_EQ(Pane(), secondGloss);

    // The window and the command line (which reads the database anew) agree.
    for (const char* word : {"apple", "zyxwv", "n.", "导入"}) {
        SCOPED_TRACE(word);
        EXPECT_EQ(windowHits(word), CommandLineHits(AppDir, word));
    }
    EXPECT_NE(windowHits("zyxwv"), "");
    // And so does a new start.
    const std::string afterImport = windowHits("apple");
    FreeComponent(form_);
    WordTable.Clear();
    Start();
    EXPECT_EQ(windowHits("apple"), afterImport);
}


TEST_F(MainWindowTest, AnImportAfterTheDatabaseCouldNotBeReadBringsInAllOfItsWords) {
    WithDatabase();
    auto lock = std::make_unique<SqlcipherLock>((root_ / "dat" / "WordLib.dat").string());
    Start();
    ASSERT_EQ(errors_.size(), 1u);  // locked past the wait: only the built-in words
    lock.reset();
    const std::size_t builtIn = LoadEmbeddedWordList().size();
    ASSERT_EQ(WordTable.Length(), builtIn);

    form_->EdTbPath->SetText(WriteFile("new.txt", "zyxwv|n.新词\r\n").string());
    WhenIdle({[this] { screen_->KeyPress(VK_RETURN); }, [this] { screen_->KeyPress(VK_ESCAPE); }});
    ClickCentre(*form_->BtImportTbDat);
    WaitForDatabaseWords();
    EXPECT_EQ(errors_.size(), 1u);
    ASSERT_EQ(WordTable.Length(), kStarterRows + 1 + builtIn);
    EXPECT_EQ(WordTable[0].Eng, "abandon");
    EXPECT_EQ(WordTable[kStarterRows].Eng, "zyxwv");
}

TEST_F(MainWindowTest, ALongImportKeepsTheWindowAliveShowsProgressAndRunsOnce) {
    WithDatabase();
    Start();
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "w" + std::to_string(i) + "|n.一个相当长的释义，好让导入多花些时间\r\n";
    form_->EdTbPath->SetText(WriteFile("long.txt", text).string());

    // Watches the messages handled while the import runs, and tries to
    // start a second import from inside the first.
    std::vector<AnsiString> progress;
    int questions = 0;
    bool triedAgain = false;
    Application->OnMessage = [&](MSG&, bool&) {
        const AnsiString pane = Pane();
        if (form_->BtImportTbDat->Enabled() || pane.rfind("正在导入单词：", 0) != 0) return;
        if (progress.empty() || progress.back() != pane) progress.push_back(pane);
        if (progress.size() == 2 && !triedAgain) {
            triedAgain = true;
            ClickCentre(*form_->BtImportTbDat);
            form_->BtImportTbDatClick(form_->BtImportTbDat);
        }
    };
    auto answer = [&](int vk) {
        return [this, &questions, vk] {
            ++questions;
            screen_->KeyPress(vk);
        };
    };
    WhenIdle({answer(VK_RETURN), answer(VK_ESCAPE)});
    ClickCentre(*form_->BtImportTbDat);
    Application->OnMessage = nullptr;

    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_EQ(questions, 2);  // one question and one report: one import
    ASSERT_GE(progress.size(), 2u);
    EXPECT_TRUE(triedAgain);
    EXPECT_TRUE(form_->BtImportTbDat->Enabled());
    EXPECT_EQ(Pane(), "");
    EXPECT_EQ(AppendDbRows(*form_->ADOQryESM, 0), kStarterRows + 200000);
}

TEST_F(MainWindowTest, ClosingTheWindowWhileAWordListIsReadAbandonsTheImport) {
    WithDatabase();
    Start();
    std::string text;
    for (int i = 0; i < 400000; ++i) text += "w" + std::to_string(i) + "|n.一个相当长的释义，好让读取多花些时间\r\n";
    form_->EdTbPath->SetText(WriteFile("long.txt", text).string());
    // The window paints and answers while the file is read; the program is
    // closed at the first sign of it.
    bool closed = false;
    Application->OnMessage = [&](MSG&, bool&) {
        if (!closed && Pane().rfind("正在读取单词列表：", 0) == 0) {
            closed = true;
            Application->Terminate();
        }
    };
    WhenIdle({});  // no question may come
    ClickCentre(*form_->BtImportTbDat);
    Application->OnMessage = nullptr;
    EXPECT_TRUE(closed);
    EXPECT_TRUE(errors_.empty()) << errors_.front();
    EXPECT_EQ(SqlcipherRowCount((root_ / "dat" / "WordLib.dat").string()), long(kStarterRows));
}

TEST_F(MainWindowTest, ADoubleClickOnTheBackgroundWritesTheDifferenceOfTheTwoLists) {
    Start();
    const fs::path out = root_ / "newworduni.txt";
    form_->DiffOutputFile = [out] { return AnsiString(out.string()); };
    form_->EdTbPath->SetText(WriteFile("a.txt", "cat|n.猫\r\nice cream|n.冰淇淋\r\nowl|n.猫头鹰\r\n").string());
    form_->EdWord->SetText(WriteFile("b.txt", "cat|n.猫\r\n").string());

    // Between the gloss pane and the hit list: the window's own background.
    const TPoint p = form_->ClientToScreen({327, 200});
    screen_->Click(p.X, p.Y);
    screen_->Click(p.X, p.Y);
    Pump();

    std::ifstream in(out, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, "ice cream|n.冰淇淋\r\nowl|n.猫头鹰\r\n");
}

TEST_F(MainWindowTest, ClosingHidesTheWindowBeforeTheAdsAreRenewed) {
    // No ad files: the ads are stale, so closing fetches the index page.
    Start();
    ASSERT_TRUE(form_->IsVisibleOnScreen());
    const HWND window = form_->Handle();
    std::atomic<int> requests = 0;
    std::atomic<bool> visibleDuringRefresh = true;
    // The window thread waits in the transfer while the server looks at it.
    LocalHttpServer server([&](const std::string&) {
        visibleDuringRefresh = IsWindowVisible(window) != FALSE;
        ++requests;
        return HttpReply::Error(404);
    });
    form_->AdRefreshUrl = server.Url("/adlist.htm");

    form_->Close();
    Pump();

    EXPECT_EQ(requests, 1);
    EXPECT_FALSE(visibleDuringRefresh);
}

}  // namespace
