#pragma once
// The word database's derived key, kept per user so that a short-lived
// process (a lookup from the command line) need not derive it anew.
//
// The database engine turns the password into the file's key with 64,000
// rounds of PBKDF2-HMAC-SHA1 over the salt in the file's first 16 bytes,
// which costs more than a whole lookup. The same key given as a raw key
// ("x'<64 hex digits>'") opens the file without that step and reads and
// writes it exactly as the password would: nothing in the file changes.
//
// The cache is one small file, readable and writable by its owner only, in
// the user's cache folder ($XDG_CACHE_HOME, else ~/.cache) under
// mirvodict/: one line per database salt, the salt and the key in hex. It
// is trusted only when the folder and the file belong to the user and no
// one else may write (or, for the file, read) them; a raw key that does not
// open the file is ignored and the password is used (and the entry put
// right), so a stale or damaged cache costs one derivation, never data.

#include <optional>
#include <string>
#include <string_view>

#include "AnsiString.h"

// The cache file: $XDG_CACHE_HOME/mirvodict/dbkeys, else
// $HOME/.cache/mirvodict/dbkeys; empty when neither is set.
std::string DbKeyCacheFile();

// The salt of a database file (its first 16 bytes), in hex; empty when the
// file cannot be read or is shorter.
std::string DatabaseSalt(const std::string& databaseFile);

// The raw key ("x'…'") kept for `salt`, or nothing.
std::optional<AnsiString> CachedDatabaseKey(const std::string& cacheFile, std::string_view salt);

// The key the engine derives from `password` for `salt` (hex), as a raw key.
AnsiString DeriveDatabaseKey(std::string_view password, std::string_view salt);

// Keeps `rawKey` for `salt`, replacing an older entry for it; the most
// recent few salts are kept. Failures are ignored: the cache only saves time.
void RememberDatabaseKey(const std::string& cacheFile, std::string_view salt, const AnsiString& rawKey);
