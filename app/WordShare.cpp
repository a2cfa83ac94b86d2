#include "WordShare.h"

#include "WordImport.h"
#include "WordListFile.h"
#include "WinStyles.h"

AnsiString WordShareLink(const TStrings& lines) {
    return "mailto:" + AnsiString(ContactMailAddress) + "?subject=单词共享&body=" + "\"" + lines.Text() + "\"";
}

AnsiString ContactMailLink() { return "mailto:" + AnsiString(ContactMailAddress); }

void ShareWordList(const AnsiString& pathText, const TWordShareContext& context) {
    if (!IsWordListPath(pathText)) {
        context.ShowMessage("词库非法！", mtInformation, mbYes);
        return;
    }
    TStringList lines;
    lines.SetText(ReadWordListFile(pathText).Text);
    const AnsiString link = WordShareLink(lines);
    context.ShellExecute(context.Owner, "open", link.c_str(), nullptr, nullptr, SW_SHOW);
}

void MailContact(HWND owner, const TShellExecute& shellExecute) {
    const AnsiString link = ContactMailLink();
    shellExecute(owner, "Open", link.c_str(), nullptr, nullptr, SW_SHOW);
}
