#include "ProgramResources.h"

#include <cstdint>

#include "Exceptions.h"
#include "SysUtils.h"

namespace {

// One entry per resource, laid down by the assembler file that
// mirvo_add_resource generates, in the section "mirvo_resources". The
// linker collects the entries of all objects into one array and names its
// bounds; the section is marked as retained, so no entry is dropped for
// want of a reference.
struct ResourceEntry {
    const char* type;
    const char* name;
    const char* data;
    std::uint64_t size;
};
static_assert(sizeof(ResourceEntry) == 32, "must match the layout in cmake/Resources.cmake");

}  // namespace

// Weak: a program without resources has no such section, and then both are null.
extern "C" const ResourceEntry __start_mirvo_resources[] __attribute__((weak));
extern "C" const ResourceEntry __stop_mirvo_resources[] __attribute__((weak));

std::string_view FindProgramResource(std::string_view type, std::string_view name) {
    const ResourceEntry* first = __start_mirvo_resources;
    const ResourceEntry* last = __stop_mirvo_resources;
    if (first == nullptr || last == nullptr) return {};
    for (const ResourceEntry* entry = first; entry != last; ++entry) {
        if (SameText(entry->type, type) && SameText(entry->name, name)) {
            return std::string_view(entry->data, static_cast<std::size_t>(entry->size));
        }
    }
    return {};
}

TResourceStream::TResourceStream(std::string_view name, std::string_view type) {
    const std::string_view bytes = FindProgramResource(type, name);
    if (bytes.data() == nullptr) {
        throw EResNotFound("Resource " + AnsiString(name) + " not found");
    }
    SetPointer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

std::int64_t TResourceStream::Write(const void*, std::int64_t) {
    throw EStreamError("Can't write to a read-only resource stream");
}

void TResourceStream::SetSize(std::int64_t) {
    throw EStreamError("Can't write to a read-only resource stream");
}
