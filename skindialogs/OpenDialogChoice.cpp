#include "OpenDialogChoice.h"

#include <sys/stat.h>

#include "FileUtils.h"
#include "ShellNamespace.h"

AnsiString DefaultExtension(const AnsiString& defaultExt, const AnsiString& pattern) {
    if (!defaultExt.empty()) return "." + defaultExt;
    if (pattern.find(".*") != AnsiString::npos) return {};
    const AnsiString first = pattern.substr(0, pattern.find(';'));
    return ExtractFileExt(first);
}

std::string TypedFilePath(const OpenChoiceState& state) {
    AnsiString name = state.Typed;
    if (name.empty()) return {};
    if (ExtractFileExt(ExtractFileName(name)).empty()) name += DefaultExtension(state.DefaultExt, state.Pattern);
    if (state.Folder.empty() && name.front() != '/' && name.front() != '~') return {};
    return ResolvePathText(name, state.Folder);
}

bool FileEntryExists(const std::string& path) {
    struct stat st{};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::optional<std::string> ChooseOpenFile(const OpenChoiceState& state) {
    if (state.Typed.empty()) return std::nullopt;
    const std::string typed = TypedFilePath(state);
    const std::string& result = state.Selected.empty() ? typed : state.Selected;
    if (result.empty()) return std::nullopt;
    if (state.CheckFileExists && !FileEntryExists(result)) return std::nullopt;
    return result;
}
