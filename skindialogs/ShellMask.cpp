#include "ShellMask.h"

#include <cstddef>
#include <vector>

#include "AnsiString.h"

namespace {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

// A character of the name: one byte, or a GBK lead byte with its trail byte.
struct Char {
    unsigned code = 0;
    std::size_t length = 1;
};

Char CharAt(std::string_view s, std::size_t i) {
    const std::size_t n = CharLengthAt(s, i);
    if (n == 2) return {(unsigned(static_cast<unsigned char>(s[i])) << 8) | static_cast<unsigned char>(s[i + 1]), 2};
    return {static_cast<unsigned char>(FoldCase(s[i])), 1};
}

// Matches the set that starts after '[' at `p`; sets `end` past its ']'.
// A set without a closing ']' is taken as a literal '['.
bool MatchSet(std::string_view pattern, std::size_t p, unsigned c, std::size_t& end, bool& valid) {
    bool negate = false;
    if (p < pattern.size() && (pattern[p] == '!' || pattern[p] == '^')) {
        negate = true;
        ++p;
    }
    bool found = false;
    bool first = true;
    while (p < pattern.size() && (pattern[p] != ']' || first)) {
        first = false;
        const Char lo = CharAt(pattern, p);
        p += lo.length;
        unsigned hi = lo.code;
        if (p + 1 < pattern.size() && pattern[p] == '-' && pattern[p + 1] != ']') {
            const Char h = CharAt(pattern, p + 1);
            hi = h.code;
            p += 1 + h.length;
        }
        if (c >= lo.code && c <= hi) found = true;
    }
    valid = p < pattern.size();
    end = p + 1;
    return found != negate;
}

bool Match(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0;
    // Where to go on after the last '*': its pattern position and the name
    // position it has swallowed up to.
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size()) {
            const char pc = pattern[p];
            if (pc == '*') {
                starP = ++p;
                starN = n;
                continue;
            }
            const Char c = CharAt(name, n);
            if (pc == '?') {
                ++p;
                n += c.length;
                continue;
            }
            if (pc == '[') {
                std::size_t end = 0;
                bool valid = false;
                const bool in = MatchSet(pattern, p + 1, c.code, end, valid);
                if (valid) {
                    if (in) {
                        p = end;
                        n += c.length;
                        continue;
                    }
                } else if (c.code == '[') {
                    ++p;
                    ++n;
                    continue;
                }
            } else {
                const Char want = CharAt(pattern, p);
                if (want.code == c.code) {
                    p += want.length;
                    n += c.length;
                    continue;
                }
            }
        }
        if (starP == std::string_view::npos) return false;
        p = starP;
        starN += CharAt(name, starN).length;
        n = starN;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

bool MatchesShellPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*") return true;
    return Match(name, pattern);
}

bool PassesShellMask(std::string_view name, std::string_view mask) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= mask.size(); ++i) {
        if (i < mask.size() && mask[i] != ';' && mask[i] != '|') continue;
        const std::string_view pattern = Trimmed(mask.substr(start, i - start));
        start = i + 1;
        if (pattern == "*") return true;
        if (pattern.find('.') != std::string_view::npos && MatchesShellPattern(name, pattern)) return true;
    }
    return false;
}
