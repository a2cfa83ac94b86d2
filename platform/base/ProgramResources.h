#pragma once
// Program resources: named blobs linked into the program file at build time
// (see mirvo_add_resource in cmake/Resources.cmake). Types and names are
// matched without regard to case (ASCII letters).

#include <string_view>

#include "Streams.h"

// The bytes of the resource, or a view with data() == nullptr when the
// program holds none of that type and name. The bytes live as long as the
// program; a NUL byte follows them (not counted in the size).
std::string_view FindProgramResource(std::string_view type, std::string_view name);

// A read-only stream over a resource. Raises EResNotFound
// "Resource <name> not found" when the program holds none.
class TResourceStream : public TCustomMemoryStream {
public:
    TResourceStream(std::string_view name, std::string_view type);

    // Writing or resizing raises EStreamError: the bytes are part of the program.
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    void SetSize(std::int64_t newSize) override;
};
