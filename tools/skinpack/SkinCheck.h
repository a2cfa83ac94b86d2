#pragma once
// Checking a skin as its author would want: every picture and record it
// holds, and every problem that would make loading it fail or make a control
// draw from the wrong place. Checks go on past the first problem, so one run
// lists them all.

#include <string>
#include <vector>

#include "AnsiString.h"

struct SkinCheckReport {
    // What the skin holds, one line each (pictures, records, version).
    std::vector<std::string> lines;
    // One line per problem.
    std::vector<std::string> problems;

    void Info(std::string line) { lines.push_back(std::move(line)); }
    void Problem(std::string line) { problems.push_back(std::move(line)); }
    bool Ok() const { return problems.empty(); }
};

// A skin directory: `path` is the directory (its skin.ini is read) or the
// description file itself.
SkinCheckReport CheckSkinDirectory(const AnsiString& path);
// A .skn file: container, compressed block, payload, then the description.
SkinCheckReport CheckPackedSkin(const AnsiString& path);

// The description file of a skin directory argument (the argument itself
// when it names a file).
AnsiString SkinDescriptionPath(const AnsiString& path);
