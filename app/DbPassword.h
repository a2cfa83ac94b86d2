#pragma once
// The word database's password, derived at run time from a seed built into
// the program. The password itself is never stored, logged or shown.

#include <string_view>

#include "AnsiString.h"

// The 15-character seed the password is derived from.
extern const std::string_view DbPasswordSeed;
// The 6-character key KeyedHexString uses when it is given none.
extern const std::string_view DbDefaultKey;

// Picks ten characters of the seed (positions 3, 14, 9, 1, 2, 4, 7, 8, 13
// and 15, counted from 1) and scrambles them with the default key: 20
// upper-case hexadecimal digits for a full seed. An empty seed gives an empty
// password; positions past the end of a shorter seed are skipped.
AnsiString MakeDbPassword(std::string_view seed);

// Runs each byte of `text` through an accumulator (starting at 345: plus the
// byte, modulo 255, exclusive-or the next key byte, the key used cyclically),
// writes the start value and each step as upper-case hex of at least two
// digits, and returns 20 characters of that from its third on. An empty key
// stands for DbDefaultKey.
AnsiString KeyedHexString(std::string_view text, std::string_view key);
