#pragma once
// Renewal of the banner's ad files when the main window closes: when the
// files listed at start-up are missing or older than thirty days, the ad
// index page is fetched, up to ten download links are taken from it, and the
// new ads are downloaded as 0.swf, 1.swf, ...
//
// Everything blocks, so everything is bounded: the whole refresh has one
// deadline of a few seconds, the page and each ad a size no banner needs,
// and a transfer cut by either is dropped like a failed one. An old ad is
// never deleted before a new one has arrived whole, as a movie the player
// opens, to take its place, so a broken server leaves the banner as it was.

#include <cstdint>

#include "AnsiString.h"
#include "SysUtils.h"
#include "TFlashMovie.h"
#include "TStrings.h"

// The web page on which the program's maintainers announce the current ads.
inline constexpr const char* AdIndexUrl = "http://ads.mirvo.example/dict/adlist.htm";

// Limits of the refresh. Times in milliseconds.
struct TAdTransferLimits {
    // Connecting, and one transfer (the page or one ad) from start to end.
    int ConnectTimeout = 2000;
    int TotalTimeout = 3000;
    // The whole refresh, page and every ad together: a transfer still
    // running then is cut, and the links not reached are left for next time.
    int Deadline = 5000;
    // The index page is a short text of announcements; a banner movie a few
    // dozen kilobytes, and the player reads none larger than
    // kMaxMovieFileBytes. Larger bodies are dropped.
    std::int64_t MaxPageBytes = std::int64_t(1) << 20;
    std::int64_t MaxAdBytes = std::int64_t(kMaxMovieFileBytes);
};

// The ad directory under the program's directory ("dat/ad/").
AnsiString AdDirectory(const AnsiString& appDir);

// True when `adFiles` is absent or empty, or when a listed file in `adDir`
// is missing or was last modified more than 30.0 days before `now`.
bool AdsAreStale(const AnsiString& adDir, const TStrings* adFiles, TDateTime now);

// The body of `url` as text, up to its first NUL byte; empty when the
// transfer fails in any way, or passes limits.TotalTimeout or
// limits.MaxPageBytes.
AnsiString FetchPageText(const AnsiString& url, const TAdTransferLimits& limits = {});

// Appends to `links` the first argument of each writelinks("link","text")
// announcement in `lines`, at most ten, in page order.
void ParseAdLinks(const TStrings& lines, TStrings& links);

// Downloads `link` through the transfer file temp.dat in `adDir` and keeps
// it as <n>.swf when the whole body arrived and the banner's player opens it
// as a movie with a frame to show. A failed or empty transfer, one past
// limits.TotalTimeout or limits.MaxAdBytes, or a body that is no movie (an
// HTML page, say) leaves neither the transfer file nor an ad file, and
// returns false; an old ad of that number stays.
// Raises EFCreateError only when the transfer file cannot be created at all.
bool DownloadAd(const AnsiString& adDir, const AnsiString& link, int n, const TAdTransferLimits& limits = {});

// The whole refresh, run when the main window closes, within
// limits.Deadline. `adFiles` is the list of ad file names found at start-up;
// `adPageLines` and `adLinks` receive the page and the links (either may be
// absent, null lists count as empty). Each ad that arrives whole replaces
// one old one: the file of its own name, or else the first listed old file
// not yet replaced, which is deleted then; old files beyond the number of
// new ads stay.
void RefreshAds(const AnsiString& appDir, const TStrings* adFiles, TStrings* adPageLines, TStrings* adLinks,
                const AnsiString& indexUrl = AdIndexUrl, const TAdTransferLimits& limits = {});
