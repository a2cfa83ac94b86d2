#include "main.h"

#include <malloc.h>
#include <time.h>

#include <cstdint>
#include <random>
#include <variant>

#include "About.h"
#include "AdRefresh.h"
#include "AppPaths.h"
#include "CompressedSkin.h"
#include "Exceptions.h"
#include "FileUtils.h"
#include "IniFiles.h"
#include "MeantWords.h"
#include "StartUpMemory.h"
#include "SysUtils.h"
#include "ShellNamespace.h"
#include "TbsShellFolder.h"
#include "WindowSystem.h"
#include "WordDatabase.h"
#include "WordImport.h"
#include "WordList.h"
#include "WordListDiff.h"
#include "WordTable.h"

namespace {

// Arial with a 14-pixel cell, no style: the font of the window's controls.
void UseArial14(TFont& font, TColor color = clWindowText) {
    font.SetName("Arial");
    font.SetHeight(14);
    font.SetStyle(0);
    font.SetColor(color);
}

TFont Arial14(TColor color = clWindowText) {
    TFont font;
    UseArial14(font, color);
    return font;
}

template <class T>
T* MakeControl(TFrmMain& form, TWinControl& parent, const char* name, int left, int top, int width, int height) {
    T* control = CreateComponent<T>(&form);
    control->SetName(name);
    control->SetParent(&parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// A push button drawn from the skin's "button" record, in the skin's font
// and size, taking the keyboard focus like any button.
TbsSkinButton* MakeButton(TFrmMain& form, const char* name, const char* caption, int left, int top, int width,
                          int height) {
    TbsSkinButton* button = MakeControl<TbsSkinButton>(form, form, name, left, top, width, height);
    button->SetSkinDataName("button");
    button->SetDefaultHeight(25);
    button->SetDefaultFont(Arial14());
    button->SetUseSkinFont(true);
    button->SetUseSkinSize(true);
    button->SetUseSkinFontColor(true);
    button->SetNumGlyphs(2);
    button->SetSpacing(1);
    button->SetRepeatMode(false);
    button->SetRepeatInterval(100);
    button->SetCanFocused(true);
    button->SetCaption(caption);
    UseArial14(button->Font());
    button->SetSkinData(form.bsSkinData1);
    return button;
}

// A one-line edit box in Arial 14, black on the window colour when unskinned.
TbsSkinEdit* MakeEdit(TFrmMain& form, const char* name, int left, int top, int width, int height) {
    TbsSkinEdit* edit = MakeControl<TbsSkinEdit>(form, form, name, left, top, width, height);
    edit->SetSkinDataName("edit");
    edit->SetDefaultFont(Arial14(clBlack));
    edit->SetDefaultColor(clWindow);
    edit->SetUseSkinFont(true);
    edit->SetDefaultHeight(21);
    edit->SetButtonMode(false);
    UseArial14(edit->Font(), clBlack);
    return edit;
}

}  // namespace

TFrmMain::TFrmMain(TComponent* AOwner)
    : TForm(AOwner),
      SetUpAppDir(InitAppDir),
      ShellExecute(ShellExecuteA),
      DiffOutputFile(DiffOutputPath) {
    CreateComponents();
}

TFrmMain::~TFrmMain() {
    // The reading thread stops between two rows and is waited for.
    wordLoader_.reset();
    // The query detaches from the connection before the connection goes.
    ADOQryESM.reset();
    ADOConn.reset();
}

void TFrmMain::CreateComponents() {
    SetName("FrmMain");
    SetCaption(MainWindowTitle);
    // The skinned frame draws the caption and its buttons; the window system
    // gives none of its own.
    SetBorderStyle(bsSingle);
    SetBorderIcons(0);
    SetClientWidth(545);
    SetClientHeight(400);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(11);
    OnShow = [this](TObject* sender) { FormShow(sender); };
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    OnDblClick = [this](TObject* sender) { FormDblClick(sender); };

    // The skin data comes first: the bound controls refer to it as they are made.
    CreateSkinComponents();

    // The gloss pane: never bound, so it keeps its default look and shows no
    // scroll bar (no skinned bar is attached).
    MemDetail = MakeControl<TbsSkinMemo2>(*this, *this, "MemDetail", 15, 30, 300, 295);
    MemDetail->SetSkinDataName("memo");
    MemDetail->SetUseSkinFont(true);
    MemDetail->SetUseSkinFontColor(true);
    MemDetail->SetDefaultFont(Arial14());
    MemDetail->SetScrollBars(ssVertical);
    MemDetail->SetWordWrap(true);
    MemDetail->SetReadOnly(false);
    UseArial14(MemDetail->Font());

    EdWord = MakeEdit(*this, "EdWord", 340, 30, 100, 21);
    EdWord->SetHint("输入中文/英文");
    EdWord->SetShowHint(true);
    EdWord->SetTabOrder(0);

    BtTran = MakeButton(*this, "BtTran", "翻译", 452, 28, 65, 25);
    BtTran->OnClick = [this](TObject* sender) { BtTranClick(sender); };

    // The hit list's group box: a frame with a 22-pixel caption bar, and the
    // list filling what the box leaves inside.
    bsSkinPanel2 = MakeControl<TbsSkinPanel>(*this, *this, "bsSkinPanel2", 340, 60, 180, 210);
    bsSkinPanel2->SetSkinDataName("groupbox");
    bsSkinPanel2->SetCaptionMode(true);
    bsSkinPanel2->SetDefaultCaptionHeight(22);
    bsSkinPanel2->SetBorderStyle(bvFrame);
    bsSkinPanel2->SetTransparentMode(false);
    bsSkinPanel2->SetRollUpMode(false);
    bsSkinPanel2->SetCheckedMode(false);
    bsSkinPanel2->SetCaption("单     词");
    UseArial14(bsSkinPanel2->Font(), clBtnText);
    bsSkinPanel2->SetSkinData(bsSkinData1);

    LVWord = MakeControl<TbsSkinListView>(*this, *bsSkinPanel2, "LVWord", 0, 22, 180, 188);
    LVWord->SetSkinDataName("listview");
    LVWord->SetHeaderSkinDataName("resizetoolbutton");
    LVWord->SetDefaultFont(Arial14());
    LVWord->SetUseSkinFont(true);
    LVWord->SetAlign(alClient);
    LVWord->SetViewStyle(vsReport);
    // One column without caption, as wide as the list: the list never shows
    // a scroll bar of its own.
    LVWord->Columns().Add()->SetWidth(180);
    LVWord->SetGridLines(true);
    LVWord->SetRowSelect(true);
    LVWord->SetReadOnly(true);
    UseArial14(LVWord->Font());
    LVWord->OnClick = [this](TObject* sender) { LVWordClick(sender); };
    LVWord->OnKeyUp = [this](TObject* sender, WORD& key, TShiftState shift) { LVWordKeyUp(sender, key, shift); };
    LVWord->SetSkinData(bsSkinData1);

    // The hit-list store: hidden and never bound.
    CmbBxWord = MakeControl<TMutiDatBsSkinComboBox>(*this, *this, "CmbBxWord", 84, 214, 126, 20);
    CmbBxWord->SetSkinDataName("combobox");
    CmbBxWord->SetStyle(bscbFixedStyle);
    CmbBxWord->SetListBoxDefaultItemHeight(20);
    CmbBxWord->SetDropDownCount(8);
    CmbBxWord->SetAutoComplete(true);
    CmbBxWord->SetUseSkinFont(true);
    CmbBxWord->SetUseSkinSize(true);
    CmbBxWord->SetVisible(false);
    CmbBxWord->SetItemIndex(-1);
    CmbBxWord->OnChange = [this](TObject* sender) { CmbBxWordChange(sender); };

    // The ad banner below the gloss pane: hidden until start-up finds ads.
    MySWF = MakeControl<TShockwaveFlash>(*this, *this, "MySWF", 15, 280, 300, 50);
    MySWF->SetVisible(false);
    MySWF->SetScaleMode(fsmExactFit);
    MySWF->SetBackgroundColor(0xFFFFFF);

    EdTbPath = MakeEdit(*this, "EdTbPath", 340, 278, 98, 21);
    // The path box starts at the user's home folder, written as a folder.
    importFile_ = HomeFolder();
    if (!importFile_.ends_with('/')) importFile_ += '/';
    shownImportFile_ = ShellDisplayName(importFile_);
    EdTbPath->SetText(shownImportFile_);
    EdTbPath->SetReadOnly(true);
    EdTbPath->SetSkinData(bsSkinData1);

    BtOpenTbDatPath = MakeButton(*this, "BtOpenTbDatPath", "...", 440, 275, 29, 25);
    BtOpenTbDatPath->SetHint("浏览");
    BtOpenTbDatPath->SetShowHint(true);
    BtOpenTbDatPath->OnClick = [this](TObject* sender) { BtOpenTbDatPathClick(sender); };
    BtImportTbDat = MakeButton(*this, "BtImportTbDat", "导入", 474, 275, 46, 25);
    BtImportTbDat->OnClick = [this](TObject* sender) { BtImportTbDatClick(sender); };
    btShareWdMail = MakeButton(*this, "btShareWdMail", "单词共享", 340, 305, 98, 25);
    btShareWdMail->OnClick = [this](TObject* sender) { btShareWdMailClick(sender); };
    btMail = MakeButton(*this, "btMail", "邮件联系", 440, 305, 80, 25);
    btMail->OnClick = [this](TObject* sender) { btMailClick(sender); };

    TimerShowSWF = CreateComponent<TTimer>(this);
    TimerShowSWF->SetName("TimerShowSWF");
    TimerShowSWF->SetInterval(10000);
    TimerShowSWF->OnTimer = [this](TObject* sender) { TimerShowSWFTimer(sender); };
    TimerShowSWF->SetEnabled(true);

    OpDialog = CreateComponent<TbsSkinOpenDialog>(this);
    OpDialog->SetName("OpDialog");
    OpDialog->Title = "Open file";
    OpDialog->Filter = "All files|*.*|*.pas|*.pas|*.cpp|*.cpp|*.rtf|*.rtf";
    OpDialog->FilterIndex = 1;
    // The chosen file must exist; one file at a time; hidden files not listed.
    OpDialog->CheckFileExists = true;
    OpDialog->MultiSelection = false;
    OpDialog->ShowHiddenFiles = false;
    OpDialog->SetSkinData(bsSkinData1);
    OpDialog->SetCtrlSkinData(bsSkinData1);
    OpDialog->LVHeaderSkinDataName = "resizetoolbutton";
    OpDialog->SetDefaultFont(Arial14());
    OpDialog->ToolButtonsTransparent = true;
    OpDialog->AlphaBlend = false;
    OpDialog->AlphaBlendValue = 200;
    OpDialog->CtrlAlphaBlend = false;
    OpDialog->CtrlAlphaBlendValue = 225;
    OpDialog->DialogWidth = 0;
    OpDialog->DialogHeight = 0;
    OpDialog->DialogMinWidth = 0;
    OpDialog->DialogMinHeight = 0;

    bsSkinMessage1 = CreateComponent<TbsSkinMessage>(this);
    bsSkinMessage1->SetName("bsSkinMessage1");
    bsSkinMessage1->SetSkinData(bsSkinData1);
    bsSkinMessage1->SetCtrlSkinData(bsSkinData1);
    bsSkinMessage1->ButtonSkinDataName = "button";
    bsSkinMessage1->MessageLabelSkinDataName = "stdlabel";
    bsSkinMessage1->SetDefaultFont(Arial14());
    bsSkinMessage1->SetDefaultButtonFont(Arial14());
    bsSkinMessage1->UseSkinFont = true;
    bsSkinMessage1->ShowAgainFlag = false;
    bsSkinMessage1->AlphaBlend = false;

    ADOConn = std::make_unique<TADOConnection>();
    ADOQryESM = std::make_unique<TADOQuery>();
}

void TFrmMain::CreateSkinComponents() {
    bsSkinData1 = CreateComponent<TbsSkinData>(this);
    bsSkinData1->SetName("bsSkinData1");
    bsSkinData1->SetSkinnableForm(true);
    bsSkinData1->SetEnableSkinEffects(true);
    bsSkinData1->SetSkinIndex(0);

    bsSkinPopupMenu2 = CreateComponent<TbsSkinPopupMenu>(this);
    bsSkinPopupMenu2->SetName("bsSkinPopupMenu2");
    auto line = [this] {
        TMenuItem* item = CreateComponent<TMenuItem>(this);
        item->SetCaption(cLineCaption);
        return item;
    };
    bsSkinPopupMenu2->Items()->Add(line());
    LoadAbout = CreateComponent<TMenuItem>(this);
    LoadAbout->SetName("LoadAbout");
    LoadAbout->SetCaption("关于...");
    LoadAbout->OnClick = [this](TObject* sender) { LoadAboutClick(sender); };
    bsSkinPopupMenu2->Items()->Add(LoadAbout);
    bsSkinPopupMenu2->Items()->Add(line());
    bsSkinPopupMenu2->SetSkinData(bsSkinData1);

    // The frame: fixed at 550-551 x 390-391, centred on the desktop, snapping
    // to the work area's edges, with the system menu above and no tray icon
    // (so the minimise-to-tray button does nothing).
    bsSkinForm1 = CreateComponent<TbsSkinForm>(this);
    bsSkinForm1->SetName("bsSkinForm1");
    bsSkinForm1->PositionInMonitor = bspDesktopCenter;
    bsSkinForm1->MinWidth = 550;
    bsSkinForm1->MinHeight = 390;
    bsSkinForm1->MaxWidth = 551;
    bsSkinForm1->MaxHeight = 391;
    bsSkinForm1->Magnetic = true;
    bsSkinForm1->MagneticSize = 10;
    bsSkinForm1->SetBorderIcons(biSystemMenu | biMinimize | biRollUp | biMinimizeToTray);
    bsSkinForm1->SetSystemMenu(bsSkinPopupMenu2);
    bsSkinForm1->UseDefaultSysMenu = true;
    UseArial14(bsSkinForm1->DefCaptionFont, clBtnText);
    bsSkinForm1->DefCaptionFont.SetStyle(fsBold);
    UseArial14(bsSkinForm1->DefInActiveCaptionFont, clBtnShadow);
    bsSkinForm1->DefInActiveCaptionFont.SetStyle(fsBold);
    bsSkinForm1->SetDefMenuItemHeight(23);
    UseArial14(bsSkinForm1->DefMenuItemFont());
    bsSkinForm1->SetMaxMenuItemsInWindow(25);
    bsSkinForm1->ShowIcon = true;
    bsSkinForm1->ShowObjectHint = true;
    bsSkinForm1->UseDefaultObjectHint = true;
    bsSkinForm1->SetUseSkinFontInMenu(true);
    bsSkinForm1->AlphaBlend = false;
    bsSkinForm1->AlphaBlendValue = 255;
    bsSkinForm1->MenusAlphaBlend = false;
    bsSkinForm1->MenusAlphaBlendAnimation = false;
    bsSkinForm1->SetSkinData(bsSkinData1);
}

int TFrmMain::ShowMessage(const AnsiString& text, int kind, int buttons) {
    return bsSkinMessage1->ShowSkinMessage(text, kind, buttons, 0);
}

// ---- start-up and shutdown --------------------------------------------------------------------

namespace {
// Posted by FormShow: the word sources are read once the window is on screen.
constexpr UINT WM_LOADWORDS = WM_APP + 1;
// How often the window looks for the database words read behind it. The
// reading thread never touches a window: the window asks it.
constexpr UINT kDatabaseWordsPollMs = 20;
}  // namespace

void TFrmMain::FormShow(TObject*) {
    // The window is shown once; the start-up work belongs to that first time.
    if (startedUp_) return;
    startedUp_ = true;
    // An error ends the sequence at its step and is reported; the window
    // opens all the same with what the earlier steps built.
    bool prepared = false;
    Application->Guard(this, [&] {
        PrepareWindow();
        prepared = true;
    });
    if (!prepared) return;
    // Reading the words (the database key derivation above all) takes tens of
    // milliseconds: the window is painted first, and the words are read in
    // the first message after it, before any input is handled.
    wordsPending_ = true;
    PostMessage(Handle(), WM_LOADWORDS, 0, 0);
}

void TFrmMain::WndProc(TMessage& Message) {
    if (Message.Msg == WM_TIMER && Message.WParam == DatabaseWordsTimer) {
        TakeDatabaseWords();
        return;
    }
    if (Message.Msg != WM_LOADWORDS) {
        TForm::WndProc(Message);
        return;
    }
    if (!wordsPending_) return;
    wordsPending_ = false;
    RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PresentChanges();
    Application->Guard(this, [this] { LoadWords(); });
}

void TFrmMain::LoadSkin() {
    const AnsiString skinFile = AppDir + "dat/" + "skin1" + "/skin.ini";
    if (!FileExists(skinFile))
        throw Exception("找不到皮肤文件 " + skinFile + "，窗口以默认外观显示。");
    if (!HasRequiredSkinSections(TMemIniFile(skinFile)))
        throw Exception("皮肤文件 " + skinFile + " 不是完整的皮肤描述，窗口以默认外观显示。");
    // A picture that cannot be read is reported by the skin data itself,
    // which then stays empty: the window keeps its default look.
    bsSkinData1->LoadIniSkin(skinFile);
}

void TFrmMain::PrepareWindow() {
    SetUpAppDir();
    // Without its skin the window only looks plainer: the error is reported
    // and the start-up goes on.
    Application->Guard(this, [this] { LoadSkin(); });

    AdPageLines = std::make_unique<TStringList>();
    AdLinks = std::make_unique<TStringList>();
    EmbeddedLines.clear();
    CurrentAdIndex = -1;

    FindFilesInto(AppDir + "/dat/ad/", "*.swf", AdFiles);
    if (AdFiles && AdFiles->Count() > 2) {
        // Three ads or more: the banner takes the lower part of the gloss pane.
        MemDetail->SetHeight(240);
        MySWF->SetVisible(true);
    }

    HitDataList = std::make_unique<TStringList>();
    CmbBxWord->SetDataList(HitDataList.get());
    CmbBxWord->Items().Clear();
}

void TFrmMain::LoadWords() {
    // The built-in words answer as soon as the window does; the database's
    // words, however many, are read behind the window and put in front of
    // them once read (TakeDatabaseWords).
    EmbeddedLines = LoadEmbeddedWordList();
    WordTable.Clear();
    WordTable.SetLength(EmbeddedLines.size());
    AppendWordLines(EmbeddedLines, 0);
    databaseRows_ = 0;
    databaseWordsRead_ = false;
    // The list has served its purpose: the table holds its own copy.
    ReleaseEmbeddedWordList(EmbeddedLines);
    StartDatabaseWords();
}

void TFrmMain::StartDatabaseWords() {
    wordLoader_ = std::make_unique<TWordDatabaseLoader>(AppDir);
    SetTimer(Handle(), DatabaseWordsTimer, kDatabaseWordsPollMs, nullptr);
}

bool TFrmMain::StopDatabaseWords() {
    if (!wordLoader_) return false;
    KillTimer(Handle(), DatabaseWordsTimer);
    wordLoader_.reset();
    return true;
}

void TFrmMain::TakeDatabaseWords() {
    if (!wordLoader_) return;
    std::optional<TLoadedWords> words = wordLoader_->Take();
    if (!words) return;
    StopDatabaseWords();
    // A database that cannot be read (missing, damaged, another key, locked
    // past the wait) costs only its own words: the built-in ones stay.
    if (!words->Failure.empty()) {
        Application->Guard(this, [&] { throw EDatabaseError(words->Failure); });
        return;
    }
    // The built-in words move behind the database's: the hits on screen
    // follow them, so that picking one still shows its own gloss.
    const std::size_t oldRows = databaseRows_;
    WordTable = std::move(words->Table);
    databaseRows_ = words->DatabaseRows;
    words.reset();
    // The table of the built-in words alone is gone: its memory goes back.
    malloc_trim(0);
    databaseWordsRead_ = true;
    if (databaseRows_ > oldRows) MoveHitIndexes(oldRows, databaseRows_ - oldRows);
}

void TFrmMain::MoveHitIndexes(std::size_t from, std::size_t by) {
    TStrings* data = CmbBxWord->DataList();
    if (!data) return;
    for (int i = 0; i < data->Count(); ++i) {
        const std::int64_t index = StrToIntDef(data->Strings(i), -1);
        if (index >= 0 && static_cast<std::size_t>(index) >= from)
            data->Put(i, IntToStr(index + static_cast<std::int64_t>(by)));
    }
}

void TFrmMain::AddImportedWords(const TEngWordTable& words) {
    // Without the database's words in the table (their reading was stopped
    // for the import, or failed at the start), the new words come with the
    // others when the database is read again after the import.
    if (!databaseWordsRead_) {
        readDatabaseAfterImport_ = true;
        return;
    }
    if (words.Length() == 0) return;
    // A start would find them after the rows already there and before the
    // built-in words.
    WordTable = WithRecordsInserted(WordTable, databaseRows_, words);
    MoveHitIndexes(databaseRows_, words.Length());
    databaseRows_ += words.Length();
}

void TFrmMain::FormClose(TObject*, TCloseAction&) {
    // The user asked the window to go: it leaves the screen now, and the ads
    // are renewed behind it rather than in a frozen window.
    Hide();
    PresentChanges();
    // Words still being read are of no use any more.
    StopDatabaseWords();
    RefreshAds(AppDir, AdFiles.get(), AdPageLines.get(), AdLinks.get(), AdRefreshUrl);
}

// ---- translate and pick -----------------------------------------------------------------------

void TFrmMain::BtTranClick(TObject*) {
    TStrings* data = CmbBxWord->DataList();
    CmbBxWord->Items().Clear();
    if (data) data->Clear();
    MemDetail->Clear();
    LVWord->Items().Clear();
    HitRelations.clear();

    // Without the data list (start-up stopped before making it) there is
    // nowhere to keep the record indexes, so no hit is listed.
    if (data) {
        // The hits of the typed text, with the words it most likely means
        // (other letter case, dictionary forms, spellings) before them.
        const std::vector<TMeantHit> hits = LookupMeantWords(EdWord->Text());
        LVWord->Items().BeginUpdate();
        for (const TMeantHit& hit : hits) {
            CmbBxWord->Items().Add(hit.Eng);
            data->Add(IntToStr(static_cast<std::int64_t>(hit.Index)));
            LVWord->Items().Add()->SetCaption(hit.Eng);
            HitRelations.push_back(hit.Relation);
        }
        LVWord->Items().EndUpdate();
    }
    // The first hit becomes the current one and its gloss is shown. A text
    // change shows it through OnChange; when the store's text stays the same
    // (the same headword as before) no OnChange comes, so it is shown here.
    const AnsiString previousText = CmbBxWord->Text();
    CmbBxWord->SetItemIndex(0);
    if (CmbBxWord->Text() == previousText) CmbBxWordChange(CmbBxWord);
    LVWord->SetFocus();
}

void TFrmMain::CmbBxWordChange(TObject*) {
    const int i = CmbBxWord->ItemIndex();
    const TStrings* data = CmbBxWord->DataList();
    int record = -1;
    if (i >= 0 && data && i < data->Count()) record = StrToIntDef(data->Strings(i), -1);
    if (record < 0) {
        MemDetail->Clear();
        return;
    }
    // A form or a spelling says what it is to the typed word above its gloss.
    const AnsiString relation = i < static_cast<int>(HitRelations.size()) ? HitRelations[i] : AnsiString();
    const AnsiString gloss = FormatGloss(static_cast<std::size_t>(record));
    MemDetail->SetText(relation.empty() ? gloss : relation + "\r\n" + gloss);
}

void TFrmMain::LVWordClick(TObject*) {
    const TListItem* selected = LVWord->Selected();
    if (!selected) return;
    CmbBxWord->SetItemIndex(selected->Index());
    CmbBxWordChange(CmbBxWord);
}

void TFrmMain::LVWordKeyUp(TObject* Sender, WORD&, TShiftState) { LVWordClick(Sender); }

void TFrmMain::BtOpenTbDatPathClick(TObject*) {
    if (!OpDialog->Execute()) return;
    // The name exactly as chosen: on a file system that tells letter cases
    // apart, any other spelling names another file or none. The dialog gives
    // the name as it is on disk (normally UTF-8); the box shows it in the
    // window's own text, and the tools open the file by its real name.
    importFile_ = OpDialog->FileName;
    shownImportFile_ = ShellDisplayName(importFile_);
    EdTbPath->SetText(shownImportFile_);
}

AnsiString TFrmMain::ImportFileName() const {
    const AnsiString shown = EdTbPath->Text();
    return shown == shownImportFile_ ? AnsiString(importFile_) : shown;
}

// ---- the about window ----------------------------------------------------------------------------

void TFrmMain::LoadAboutClick(TObject*) {
    if (!FrmAbout) return;
    // The about window takes the skin of this window at every showing, so a
    // skin changed in between is followed.
    FrmAbout->bsSkinForm1->SetSkinData(bsSkinData1);
    for (TbsSkinTextLabel* label : {FrmAbout->Label1, FrmAbout->Label2, FrmAbout->Label3, FrmAbout->Label4,
                                    FrmAbout->Label5, FrmAbout->Label6, FrmAbout->Label7})
        label->SetSkinData(bsSkinData1);
    FrmAbout->BtnOk->SetSkinData(bsSkinData1);
    FrmAbout->Show();
    // This window takes no input while the about window shows; hiding that
    // window, by OK or any other way, gives it back.
    SetEnabled(false);
    FrmAbout->OnHide = [this](TObject*) { SetEnabled(true); };
}

// ---- import, share, mail, difference ------------------------------------------------------------

namespace {

std::int64_t MonotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// How often a running import lets the window paint and answer.
constexpr std::int64_t kImportPumpMilliseconds = 40;

}  // namespace

void TFrmMain::BtImportTbDatClick(TObject*) {
    // The window stays alive while an import runs; a click that still
    // reaches this handler then must not start a second one on top of it.
    if (importing_) return;
    importing_ = true;
    BtImportTbDat->SetEnabled(false);
    BtOpenTbDatPath->SetEnabled(false);
    // A reading of the database words still under way would hold the file
    // against the import's commit: it stops now and starts again afterwards,
    // and then reads the new words with the others.
    readDatabaseAfterImport_ = StopDatabaseWords();
    struct ImportRunning {
        TFrmMain& form;
        ~ImportRunning() {
            // The progress served its time; the pane is the user's again.
            if (form.importProgressShown_) form.MemDetail->Clear();
            form.importing_ = false;
            form.BtImportTbDat->SetEnabled(true);
            form.BtOpenTbDatPath->SetEnabled(true);
            if (form.readDatabaseAfterImport_ && !Application->Terminated()) form.StartDatabaseWords();
        }
    } const running{*this};

    TWordImportContext context{
        *ADOConn,
        *ADOQryESM,
        AppDir,
        [this](const AnsiString& text, int kind, int buttons) { return ShowMessage(text, kind, buttons); },
        [this](const AnsiString& preview) {
            // The preview replaces the reading's progress and stays for the user to check.
            importProgressShown_ = false;
            MemDetail->SetText(preview);
        },
        [this] { btShareWdMailClick(btShareWdMail); },
        [this](std::size_t done, std::size_t total) { return ImportProgress(done, total); },
        [this](std::uint64_t done, std::uint64_t total) { return ReadProgress(done, total); },
        [this](const TEngWordTable& words) { AddImportedWords(words); },
    };
    lastImportPump_ = 0;
    importProgressShown_ = false;
    ImportWordList(EdTbPath->Text(), ImportFileName(), context);
}

bool TFrmMain::ReadProgress(std::uint64_t done, std::uint64_t total) {
    const std::int64_t now = MonotonicMilliseconds();
    if (done != 0 && now - lastImportPump_ < kImportPumpMilliseconds) return !Application->Terminated();
    constexpr std::uint64_t kMB = 1 << 20;
    const auto percent = total == 0 ? 100 : static_cast<std::int64_t>(done * 100 / total);
    importProgressShown_ = true;
    MemDetail->SetText("正在读取单词列表：" + IntToStr(static_cast<std::int64_t>(done / kMB)) + " / " +
                       IntToStr(static_cast<std::int64_t>((total + kMB - 1) / kMB)) + " MB（" + IntToStr(percent) + "%）");
    Application->ProcessMessages();
    lastImportPump_ = MonotonicMilliseconds();
    // Closing the window abandons the reading, as it abandons an import.
    return !Application->Terminated();
}

bool TFrmMain::ImportProgress(std::size_t done, std::size_t total) {
    const std::int64_t now = MonotonicMilliseconds();
    if (done != 0 && now - lastImportPump_ < kImportPumpMilliseconds) return !Application->Terminated();
    const auto percent = total == 0 ? 100 : static_cast<std::int64_t>(done * 100 / total);
    importProgressShown_ = true;
    MemDetail->SetText("正在导入单词：" + IntToStr(static_cast<std::int64_t>(done)) + " / " +
                       IntToStr(static_cast<std::int64_t>(total)) + "（" + IntToStr(percent) + "%）");
    Application->ProcessMessages();
    lastImportPump_ = MonotonicMilliseconds();
    // Closing the window abandons the import; nothing of it is kept.
    return !Application->Terminated();
}

void TFrmMain::btShareWdMailClick(TObject*) {
    TWordShareContext context;
    context.Owner = Handle();
    context.ShowMessage = [this](const AnsiString& text, int kind, int buttons) {
        return ShowMessage(text, kind, buttons);
    };
    context.ShellExecute = ShellExecute;
    ShareWordList(ImportFileName(), context);
}

void TFrmMain::btMailClick(TObject*) { MailContact(Handle(), ShellExecute); }

void TFrmMain::FormDblClick(TObject*) {
    DiffWordLists(ImportFileName(), EdWord->Text(), DiffOutputFile(),
                  [this](const AnsiString& headword) { MemDetail->Lines().Add(headword); });
}

// ---- the banner ---------------------------------------------------------------------------------

void TFrmMain::TimerShowSWFTimer(TObject*) {
    // Also reached when the start-up stopped before listing the ads.
    if (!AdFiles || AdFiles->Count() == 0) {
        TimerShowSWF->SetEnabled(false);
        return;
    }
    // A fresh seed from the clock at every tick; the previous choice plays no
    // part, so the same ad may come twice in a row.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::mt19937 generator(static_cast<std::uint32_t>(now.tv_sec * 1000000007LL + now.tv_nsec));
    std::uniform_int_distribution<int> pick(0, AdFiles->Count() - 1);
    CurrentAdIndex = pick(generator);

    constexpr int kWhite = 0xFFFFFF;
    const TFlashPropertyValue background = MySWF->GetProperty(DISPID_FLASH_BACKGROUNDCOLOR);
    if (!std::holds_alternative<int>(background) || std::get<int>(background) != kWhite)
        MySWF->SetProperty(DISPID_FLASH_BACKGROUNDCOLOR, kWhite);
    const AnsiString& name = AdFiles->Strings(CurrentAdIndex);
    MySWF->SetProperty(DISPID_FLASH_MOVIE, AppDir + "dat/ad/" + name);
    if (ExtractFileExt(name) == ".swf") MySWF->SetProperty(DISPID_FLASH_SCALEMODE, int(fsmExactFit));
}
