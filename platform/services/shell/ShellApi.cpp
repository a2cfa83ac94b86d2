#include "ShellApi.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>

#include <cerrno>
#include <string_view>
#include <thread>
#include <utility>

#include "AnsiString.h"
#include "SysUtils.h"

extern char** environ;

namespace {

const std::string kDefaultHandler = "xdg-open";

std::string& HandlerProgram() {
    static std::string program = kDefaultHandler;
    return program;
}

HINSTANCE ResultCode(int code) { return reinterpret_cast<HINSTANCE>(static_cast<std::intptr_t>(code)); }

// The spawn descriptions, released on every path out.
class SpawnFileActions {
public:
    SpawnFileActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&attributes_); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

// "open" is the desktop's one verb; a null verb means the default, which is open.
bool IsOpenVerb(LPCSTR verb) { return verb == nullptr || *verb == '\0' || SameText(verb, "open"); }

// A URL has a scheme before its ':'; anything else is a path.
bool LooksLikeUrl(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    for (const char c : text.substr(0, colon)) {
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !other) return false;
    }
    return true;
}

// The argument the handler receives: UTF-8, and never mistakable for an option.
std::string HandlerArgument(std::string_view file) {
    std::string argument = AnsiToUtf8(file);
    if (argument.starts_with('-') && !LooksLikeUrl(argument)) argument.insert(0, "./");
    return argument;
}

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int SpawnErrorCode(int error) {
    switch (error) {
        case ENOENT: return SE_ERR_NOASSOC;  // no handler installed
        case EACCES:
        case EPERM: return SE_ERR_ACCESSDENIED;
        case E2BIG:
        case ENOMEM:
        case EAGAIN: return SE_ERR_OOM;
        default: return SE_ERR_NOASSOC;
    }
}

// The handler is left to run on its own; this thread only waits for its end
// so that its exit status is collected and no zombie stays behind.
void ReapInBackground(pid_t pid) {
    std::thread([pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

HINSTANCE ShellExecuteA(HWND /*owner*/, LPCSTR verb, LPCSTR file, LPCSTR /*parameters*/, LPCSTR directory,
                        INT /*showCommand*/) {
    if (!IsOpenVerb(verb)) return ResultCode(SE_ERR_NOASSOC);
    if (file == nullptr || *file == '\0') return ResultCode(SE_ERR_FNF);

    const std::string program = HandlerProgram();
    std::string argument = HandlerArgument(file);
    const bool changeDirectory = directory != nullptr && *directory != '\0';
    const std::string workingDirectory = changeDirectory ? AnsiToUtf8(directory) : std::string();

    SpawnFileActions actions;
    // Only the standard streams go to the handler: it must not keep the
    // program's database, display connection or sockets open after we close them.
    posix_spawn_file_actions_addclosefrom_np(actions.get(), 3);
    if (changeDirectory) posix_spawn_file_actions_addchdir_np(actions.get(), workingDirectory.c_str());

    // A session of its own keeps the handler apart from the program's terminal
    // and process group; signals the program ignores or blocks are restored.
    SpawnAttributes attributes;
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    posix_spawnattr_setsigdefault(attributes.get(), &defaults);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigmask(attributes.get(), &noneBlocked);
    posix_spawnattr_setflags(attributes.get(), POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    std::string programArgument = program;
    char* argv[] = {programArgument.data(), argument.data(), nullptr};
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, program.c_str(), actions.get(), attributes.get(), argv, environ);
    if (error != 0) {
        if (changeDirectory && (error == ENOENT || error == ENOTDIR) && !IsDirectory(workingDirectory)) {
            return ResultCode(SE_ERR_PNF);
        }
        return ResultCode(SpawnErrorCode(error));
    }
    ReapInBackground(pid);
    return ResultCode(kShellExecuteStarted);
}

void SetShellOpenHandler(std::string program) {
    HandlerProgram() = program.empty() ? kDefaultHandler : std::move(program);
}

const std::string& ShellOpenHandler() { return HandlerProgram(); }
