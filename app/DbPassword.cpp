#include "DbPassword.h"

#include <array>
#include <cstdio>

const std::string_view DbPasswordSeed = "mV7q#Lr2xE9!kTz";
const std::string_view DbDefaultKey = "W4n$eP";

namespace {

// Upper-case hexadecimal, at least two digits.
void AppendHex(AnsiString& out, unsigned value) {
    std::array<char, 16> digits{};
    const int n = std::snprintf(digits.data(), digits.size(), "%02X", value);
    out.append(digits.data(), static_cast<std::size_t>(n));
}

}  // namespace

AnsiString KeyedHexString(std::string_view text, std::string_view key) {
    if (key.empty()) key = DbDefaultKey;
    const std::size_t n = key.size();
    unsigned accumulator = 345;
    AnsiString out;
    AppendHex(out, accumulator);
    std::size_t k = 0;  // 1-based position of the key byte last used
    for (const char c : text) {
        accumulator = (accumulator + static_cast<unsigned char>(c)) % 255;
        k = (k == n) ? 1 : k + 1;
        accumulator ^= static_cast<unsigned char>(key[k - 1]);
        AppendHex(out, accumulator);
    }
    return out.size() > 2 ? out.substr(2, 20) : AnsiString();
}

AnsiString MakeDbPassword(std::string_view seed) {
    if (seed.empty()) return "";
    static constexpr std::size_t kPositions[] = {3, 14, 9, 1, 2, 4, 7, 8, 13, 15};
    AnsiString picked;
    for (const std::size_t position : kPositions) {
        if (position <= seed.size()) picked += seed[position - 1];
    }
    return KeyedHexString(picked, "");
}
