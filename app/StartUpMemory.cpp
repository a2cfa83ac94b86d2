#include "StartUpMemory.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

void ReleaseEmbeddedWordList(std::vector<std::string_view>& lines) {
    if (!lines.empty()) {
        // The lines lie in order in one block of the program file's mapping;
        // only whole pages inside it are let go.
        const auto first = reinterpret_cast<std::uintptr_t>(lines.front().data());
        const auto last = reinterpret_cast<std::uintptr_t>(lines.back().data() + lines.back().size());
        const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        const std::uintptr_t begin = (first + page - 1) / page * page;
        const std::uintptr_t end = last / page * page;
        if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_DONTNEED);
    }
    std::vector<std::string_view>().swap(lines);
    malloc_trim(0);
}
