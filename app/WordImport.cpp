#include "WordImport.h"

#include "Exceptions.h"
#include "SysUtils.h"
#include "WordDatabase.h"
#include "WordList.h"
#include "WordListFile.h"

bool IsWordListPath(std::string_view path) { return AnsiPos(".txt", LowerCase(path)) > 0; }

TEngWord ImportRecord(std::string_view line) {
    const TWordLineParts parts = SplitWordLine(line);
    return {parts.Headword.substr(0, kMaxEngBytes), parts.Gloss.substr(0, kMaxChsBytes)};
}

AnsiString ImportPreviewText(std::span<const std::string_view> lines) {
    const std::size_t shown = std::min(lines.size(), kPreviewRecords);
    AnsiString text = "将导入" + IntToStr(static_cast<std::int64_t>(lines.size())) + "条记录";
    text += shown < lines.size() ? "，以下是前" + IntToStr(static_cast<std::int64_t>(shown)) + "条：" : AnsiString("：");
    for (std::size_t i = 0; i < shown; ++i) {
        const TEngWord word = ImportRecord(lines[i]);
        text += "\r\n";
        text += word.Eng;
        text += " | ";
        text += word.Chs;
    }
    return text;
}

void ImportWordList(const AnsiString& pathText, const TWordImportContext& context) {
    ImportWordList(pathText, pathText, context);
}

void ImportWordList(const AnsiString& pathText, const std::string& fileOnDisk, const TWordImportContext& context) {
    // The name is tested as the user reads it: its disk bytes in another
    // encoding could hide ".txt" behind a double-byte character.
    if (!IsWordListPath(pathText)) {
        context.ShowMessage("非法文件！", mtInformation, mbYes);
        return;
    }
    ImportWordFile(fileOnDisk, context);
}

void ImportWordFile(const AnsiString& path, const TWordImportContext& context) {
    const TWordListText list = ReadWordListFile(path);
    // Every line, empty or malformed, becomes a record. The records are
    // views into the text, made from their line as each row goes in, so a
    // large list is held in memory once.
    const std::vector<std::string_view> lines = SplitWordListLines(list.Text);

    // The question asks the user to check what will be inserted: the pane shows it.
    context.ShowPreview(ImportPreviewText(lines));
    // Closing the question without an answer is no consent: only Yes goes on.
    if (context.ShowMessage("请检查预览数据，是否导入单词库？", mtCustom, mbYesNo) != mrYes) return;

    OpenWordDatabase(context.Connection, context.Query, context.AppDir);
    const std::size_t total = lines.size();
    bool imported = false;
    try {
        TInsertProgress progress;
        if (context.Progress) progress = [&](std::size_t done) { return context.Progress(done, total); };
        imported = InsertWords(context.Connection, context.Query, total,
                               [&lines](std::size_t i) { return ImportRecord(lines[i]); }, progress);
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(WordDatabaseErrorText(WordDatabaseFileName(context.AppDir), e,
                                                   "单词导入失败，单词库保持导入前的样子，没有加入任何单词。"));
    }
    if (!imported) return;  // abandoned (the window is closing): nothing was kept, nothing to report

    AnsiString report = "单词导入完毕！新增单词" + IntToStr(static_cast<std::int64_t>(total)) + "个。";
    if (list.Replaced > 0) {
        report += "文件中有" + IntToStr(static_cast<std::int64_t>(list.Replaced)) + "个字符无法用GBK表示，已替换为“?”。";
    }
    report += "\r\n是否共享新单词？";
    if (context.ShowMessage(report, mtInformation, mbYesNo) == mrYes) context.ShareWords();
}
