#include "WordImport.h"

#include "SysUtils.h"
#include "TStrings.h"
#include "WordDatabase.h"
#include "WordList.h"
#include "WordTable.h"

bool IsWordListPath(std::string_view path) { return AnsiPos(".txt", path) > 0; }

void ImportWordList(const AnsiString& pathText, const TWordImportContext& context) {
    if (!IsWordListPath(pathText)) {
        context.ShowMessage("非法文件！", mtInformation, mbYes);
        return;
    }
    ImportWordFile(pathText, context);
}

void ImportWordFile(const AnsiString& path, const TWordImportContext& context) {
    TStringList lines;
    lines.LoadFromFile(path);

    // A table of its own: every line, empty or malformed, becomes a record,
    // each field cut to its limit as the word table stores it.
    TEngWordTable words;
    words.SetLength(static_cast<std::size_t>(lines.Count()));
    AppendWordLines(words, lines, 0);

    context.ClearGlossPane();
    // Closing the question without an answer is no consent: the rows cannot
    // be taken out of the database again, so only Yes goes on.
    if (context.ShowMessage("请检查预览数据，是否导入单词库？", mtCustom, mbYesNo) != mrYes) return;

    OpenWordDatabase(context.Connection, context.Query, context.AppDir);
    for (std::size_t i = 0; i < words.Length(); ++i) {
        InsertWord(context.Query, words[i].Eng, words[i].Chs);
    }

    const AnsiString report =
        "单词导入完毕！新增单词" + IntToStr(static_cast<std::int64_t>(words.Length())) + "个。\r\n是否共享新单词？";
    if (context.ShowMessage(report, mtInformation, mbYesNo) == mrYes) context.ShareWords();
}
