#pragma once
// TFrmMain, the dictionary's main window: the word box and the translate
// button, the hit list with its hidden store, the gloss pane, the import and
// sharing controls, the banner timer, and the components the window owns
// (skin data, skinned frame and system menu, message box, open dialog,
// database connection and query).
//
// The skinned frame and the bound controls (buttons, group box, hit list,
// path box) follow the skin data; the gloss pane, the word box and the
// hidden store are never bound and keep their default look.
//
// Showing the window runs the start-up sequence (skin, ads, word list,
// database); closing it renews the ads. Everything else happens in the
// handlers below, on the one GUI thread.

#include <cstdint>
#include <functional>
#include <string>
#include <memory>
#include <string_view>
#include <vector>

#include "AdRefresh.h"
#include "AnsiString.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "Menus.h"
#include "TADOConnection.h"
#include "TADOQuery.h"
#include "TMutiDatBsSkinComboBox.h"
#include "TShockwaveFlash.h"
#include "TStrings.h"
#include "TbsSkinButton.h"
#include "TbsSkinData.h"
#include "TbsSkinEdit.h"
#include "TbsSkinForm.h"
#include "TbsSkinListView.h"
#include "TbsSkinMemo2.h"
#include "TbsSkinOpenDialog.h"
#include "TbsSkinPanel.h"
#include "TbsSkinPopupMenu.h"
#include "WordDatabaseLoader.h"
#include "WordShare.h"
#include "bsMessages.h"

// The program's title: the main window's caption and the caption of
// messages of the custom kind.
inline constexpr char MainWindowTitle[] = "Mirvo英语小词典";

// The id of the window's timer that looks for the database words read
// behind the window.
inline constexpr UINT_PTR DatabaseWordsTimer = 0x5744;

class TFrmMain : public TForm {
public:
    explicit TFrmMain(TComponent* AOwner);
    ~TFrmMain() override;

    // ---- the window definition (components owned by the form) ----
    TbsSkinMemo2* MemDetail = nullptr;
    TbsSkinEdit* EdWord = nullptr;
    TbsSkinButton* BtTran = nullptr;
    // The group box of the hit list, with its caption bar.
    TbsSkinPanel* bsSkinPanel2 = nullptr;
    TbsSkinListView* LVWord = nullptr;
    TMutiDatBsSkinComboBox* CmbBxWord = nullptr;
    TShockwaveFlash* MySWF = nullptr;
    TbsSkinEdit* EdTbPath = nullptr;
    TbsSkinButton* BtOpenTbDatPath = nullptr;
    TbsSkinButton* BtImportTbDat = nullptr;
    TbsSkinButton* btShareWdMail = nullptr;
    TbsSkinButton* btMail = nullptr;
    TTimer* TimerShowSWF = nullptr;
    TbsSkinOpenDialog* OpDialog = nullptr;
    TbsSkinMessage* bsSkinMessage1 = nullptr;
    // The window's system menu: the standard items with "关于..." between two lines.
    TbsSkinPopupMenu* bsSkinPopupMenu2 = nullptr;
    TMenuItem* LoadAbout = nullptr;
    TbsSkinData* bsSkinData1 = nullptr;
    TbsSkinForm* bsSkinForm1 = nullptr;
    // Not components of the framework; owned by the window all the same.
    std::unique_ptr<TADOConnection> ADOConn;
    std::unique_ptr<TADOQuery> ADOQryESM;

    // ---- state made by the start-up sequence, kept for the whole run ----
    std::unique_ptr<TStringList> AdFiles;        // ad file names, lower case
    int CurrentAdIndex = -1;                     // the ad shown last
    std::unique_ptr<TStringList> AdPageLines;    // the fetched ad index page
    std::unique_ptr<TStringList> AdLinks;        // download links parsed from it
    // The word list built into the program; emptied once the table holds it.
    std::vector<std::string_view> EmbeddedLines;
    // The parallel data list of the hit-list store.
    std::unique_ptr<TStringList> HitDataList;
    // For each listed hit, what it is to the typed word ("went → go"), or empty.
    std::vector<AnsiString> HitRelations;

    // ---- handlers ----
    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void FormDblClick(TObject* Sender);
    void BtTranClick(TObject* Sender);
    void CmbBxWordChange(TObject* Sender);
    void LVWordClick(TObject* Sender);
    void LVWordKeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
    void BtOpenTbDatPathClick(TObject* Sender);
    void BtImportTbDatClick(TObject* Sender);
    void btShareWdMailClick(TObject* Sender);
    void btMailClick(TObject* Sender);
    void TimerShowSWFTimer(TObject* Sender);
    void LoadAboutClick(TObject* Sender);

    // ---- what the start-up and the tools reach outside the program ----
    // Step 1 of the start-up: fills AppDir (the program's own directory;
    // tests point it at a prepared folder).
    std::function<void()> SetUpAppDir;
    // Hands links to the desktop (mail links of the share and mail buttons).
    TShellExecute ShellExecute;
    // Where the difference tool writes its output.
    std::function<AnsiString()> DiffOutputFile;
    // The page the ads are renewed from when the window closes.
    AnsiString AdRefreshUrl = AdIndexUrl;

    void WndProc(TMessage& Message) override;

    // True while the database words are being read behind the window; the
    // built-in words answer meanwhile.
    bool DatabaseWordsLoading() const { return wordLoader_ != nullptr; }
    // The window has shown and its start-up has read the word sources.
    bool WordsRead() const { return startedUp_ && !wordsPending_; }

private:
    void CreateComponents();
    void CreateSkinComponents();
    // Steps 1 to 5 of the start-up: everything that shapes the window.
    void PrepareWindow();
    // Step 2: the skin beside the program.
    void LoadSkin();
    // Steps 6 to 10: the embedded word list and the database into WordTable.
    void LoadWords();
    // Starts reading the database words behind the window.
    void StartDatabaseWords();
    // Stops that reading (the words read so far are dropped). True when it was running.
    bool StopDatabaseWords();
    // Swaps in the words the reading built, once it has finished.
    void TakeDatabaseWords();
    // Puts words just imported into the table, after the database's words.
    void AddImportedWords(const TEngWordTable& words);
    // The hit list keeps record indexes: records from `from` on moved by `by`.
    void MoveHitIndexes(std::size_t from, std::size_t by);
    // ShowSkinMessage with help context 0, as the dictionary's tools use it.
    int ShowMessage(const AnsiString& text, int kind, int buttons);
    // Between chunks of an import: shows how far it got and lets the window
    // paint and answer. False once the program is closing.
    bool ImportProgress(std::size_t done, std::size_t total);
    // The same while the import reads its file.
    bool ReadProgress(std::uint64_t done, std::uint64_t total);

    // The file the path box names, by its name on disk, and the text the box
    // shows for it; the box's own text when it shows anything else.
    AnsiString ImportFileName() const;
    std::string importFile_;
    AnsiString shownImportFile_;

    std::unique_ptr<TWordDatabaseLoader> wordLoader_;
    std::size_t databaseRows_ = 0;   // records at the start of WordTable that came from the database
    bool databaseWordsRead_ = false;       // the database's words are in WordTable
    bool readDatabaseAfterImport_ = false; // the running import stopped (or found no) reading of them
    bool startedUp_ = false;
    bool wordsPending_ = false;
    bool importing_ = false;           // an import runs; the import button is off meanwhile
    bool importProgressShown_ = false; // the gloss pane shows the import's progress
    std::int64_t lastImportPump_ = 0;  // monotonic milliseconds of the last progress shown
};
