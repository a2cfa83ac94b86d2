#include "WordImport.h"

#include <algorithm>
#include <optional>

#include "Exceptions.h"
#include "SysUtils.h"
#include "WordDatabase.h"
#include "WordListReader.h"

bool IsWordListPath(std::string_view path) { return AnsiPos(".txt", LowerCase(path)) > 0; }

AnsiString SkippedLinesText(std::size_t malformed) {
    return IntToStr(static_cast<std::int64_t>(malformed)) + " 行格式不对，已跳过";
}

AnsiString ImportPreviewText(const TEngWordTable& records, std::size_t malformed) {
    const std::size_t count = records.Length();
    const std::size_t shown = std::min(count, kPreviewRecords);
    AnsiString text = "将导入" + IntToStr(static_cast<std::int64_t>(count)) + "条记录";
    if (malformed > 0) text += "（" + SkippedLinesText(malformed) + "）";
    text += shown < count ? "，以下是前" + IntToStr(static_cast<std::int64_t>(shown)) + "条：" : AnsiString("：");
    for (std::size_t i = 0; i < shown; ++i) {
        const TEngWord word = records[i];
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
    // The file is read as a stream into records: a large list is held once,
    // as its records, and closing the window abandons the reading.
    std::optional<TWordListRecords> list = ReadWordListRecords(path, context.ReadProgress);
    if (!list) return;
    const TEngWordTable& records = list->Records;

    // The question asks the user to check what will be inserted: the pane shows it.
    context.ShowPreview(ImportPreviewText(records, list->Malformed));
    // Closing the question without an answer is no consent: only Yes goes on.
    if (context.ShowMessage("请检查预览数据，是否导入单词库？", mtCustom, mbYesNo) != mrYes) return;

    OpenWordDatabase(context.Connection, context.Query, context.AppDir);
    const std::size_t total = records.Length();
    bool imported = false;
    try {
        TInsertProgress progress;
        if (context.Progress) progress = [&](std::size_t done) { return context.Progress(done, total); };
        imported = InsertWords(context.Connection, context.Query, records, progress);
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(WordDatabaseErrorText(WordDatabaseFileName(context.AppDir), e,
                                                   "单词导入失败，单词库保持导入前的样子，没有加入任何单词。"));
    }
    if (!imported) return;  // abandoned (the window is closing): nothing was kept, nothing to report
    if (context.Imported) context.Imported(records);

    AnsiString report = "单词导入完毕！新增单词" + IntToStr(static_cast<std::int64_t>(total)) + "个。";
    if (list->Malformed > 0) report += SkippedLinesText(list->Malformed) + "。";
    if (list->Replaced > 0) {
        report += "文件中有" + IntToStr(static_cast<std::int64_t>(list->Replaced)) + "个字符无法用GBK表示，已替换为“?”。";
    }
    report += "\r\n是否共享新单词？";
    if (context.ShowMessage(report, mtInformation, mbYesNo) == mrYes) context.ShareWords();
}
