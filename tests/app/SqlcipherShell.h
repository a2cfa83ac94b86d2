#pragma once
// The stock sqlcipher shell, run on a word database to check from outside
// what the program wrote, or kept running to hold a lock on it the way a
// second program would.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>
#include <string>

#include "DbPassword.h"

extern char** environ;

namespace sqlcipher_shell {

// A running shell with its standard input and output connected to us.
class Shell {
public:
    explicit Shell(const std::string& file) {
        std::signal(SIGPIPE, SIG_IGN);
        int in[2];
        int out[2];
        if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        posix_spawn_file_actions_adddup2(&actions, out[1], 2);
        std::string program = "sqlcipher", batch = "-batch", bail = "-bail", path = file;
        char* argv[] = {program.data(), batch.data(), bail.data(), path.data(), nullptr};
        const int spawned = posix_spawnp(&pid_, "sqlcipher", &actions, nullptr, argv, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(in[0]);
        close(out[1]);
        input_ = in[1];
        outputFd_ = out[0];
        if (spawned != 0) {
            pid_ = 0;
            Finish();
            throw std::runtime_error("cannot start the sqlcipher shell");
        }
    }
    ~Shell() { Finish(); }
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    void Send(const std::string& script) {
        for (std::size_t done = 0; done < script.size();) {
            const ssize_t n = write(input_, script.data() + done, script.size() - done);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
    }
    // Reads output until `marker` has appeared (or the shell has ended).
    std::string ReadUntil(const std::string& marker) {
        char buffer[4096];
        while (output_.find(marker) == std::string::npos) {
            const ssize_t n = read(outputFd_, buffer, sizeof buffer);
            if (n <= 0) break;
            output_.append(buffer, static_cast<std::size_t>(n));
        }
        return output_;
    }
    // Closes its input, reads the rest of its output and waits for it.
    int Finish() {
        if (input_ >= 0) close(input_);
        input_ = -1;
        if (outputFd_ >= 0) {
            ReadUntil(std::string(1, '\0'));  // never printed: reads to the end
            close(outputFd_);
            outputFd_ = -1;
        }
        if (pid_ > 0) {
            int status = 0;
            waitpid(pid_, &status, 0);
            pid_ = 0;
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        return status_;
    }
    const std::string& Output() const { return output_; }

private:
    pid_t pid_ = 0;
    int input_ = -1;
    int outputFd_ = -1;
    std::string output_;
    int status_ = -1;
};

}  // namespace sqlcipher_shell

// The statement that keys the shell with the program's password, so the key
// never appears on a command line (visible to ps).
inline std::string SqlcipherKeyLine() { return "PRAGMA key = '" + MakeDbPassword(DbPasswordSeed) + "';\n"; }

struct SqlcipherResult {
    std::string Output;  // standard output and standard error together
    int Status = -1;
};

// Runs the shell on `file` with `script` as its input.
inline SqlcipherResult RunSqlcipherShell(const std::string& file, const std::string& script) {
    sqlcipher_shell::Shell shell(file);
    shell.Send(script);
    const int status = shell.Finish();
    return {shell.Output(), status};
}

// The number of rows of enword as the stock shell counts them, or -1.
inline long SqlcipherRowCount(const std::string& file) {
    const SqlcipherResult result = RunSqlcipherShell(file, SqlcipherKeyLine() + "select count(*) from enword;\n");
    if (result.Status != 0) {
        ADD_FAILURE() << result.Output;
        return -1;
    }
    return std::stol(result.Output.substr(result.Output.find_first_of("0123456789")));
}

// Holds an exclusive lock on the database, as the shell of another user in
// the middle of a change would, until Release or the end of the scope.
class SqlcipherLock {
public:
    explicit SqlcipherLock(const std::string& file) : shell_(file) {
        shell_.Send(SqlcipherKeyLine() + "begin exclusive;\nselect 'lock' || 'ed';\n");
        const std::string output = shell_.ReadUntil("locked");
        if (output.find("locked") == std::string::npos) throw std::runtime_error("no lock: " + output);
    }
    // Ends the shell; its open transaction, and the lock, end with it.
    void Release() { shell_.Finish(); }

private:
    sqlcipher_shell::Shell shell_;
};
