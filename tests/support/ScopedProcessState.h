#pragma once
// Process state a test changes for its own scope and gives back at the end:
// an environment variable, and the capabilities that let root read every
// folder whatever its permissions.

#include <cstdlib>
#include <optional>
#include <string>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// Sets an environment variable for the scope of one test.
class EnvVar {
public:
    EnvVar(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~EnvVar() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Root reads every folder whatever its permissions; this takes the two
// capabilities that allow it out of the thread's effective set for a while,
// so the test sees what a user sees.
class WithoutFileAccessOverride {
public:
    WithoutFileAccessOverride() {
        header_.version = _LINUX_CAPABILITY_VERSION_3;
        if (syscall(SYS_capget, &header_, saved_) != 0) return;
        __user_cap_data_struct reduced[2] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        active_ = syscall(SYS_capset, &header_, reduced) == 0;
    }
    ~WithoutFileAccessOverride() {
        if (active_) syscall(SYS_capset, &header_, saved_);
    }

private:
    __user_cap_header_struct header_{};
    __user_cap_data_struct saved_[2]{};
    bool active_ = false;
};
