#pragma once
// Renewal of the banner's ad files when the main window closes: when the
// files listed at start-up are missing or older than thirty days, the ad
// index page is fetched, up to ten download links are taken from it, the old
// files are deleted and the new ones downloaded as 0.swf, 1.swf, ...
// Everything blocks; every transfer is bounded in time so that closing the
// window always ends.

#include "AnsiString.h"
#include "SysUtils.h"
#include "TStrings.h"

// The web page on which the program's maintainers announce the current ads.
inline constexpr const char* AdIndexUrl = "http://ads.mirvo.example/dict/adlist.htm";

// Limits for the index page and for each download, in milliseconds.
struct TAdTransferLimits {
    int ConnectTimeout = 10000;
    int TotalTimeout = 30000;
};

// The ad directory under the program's directory ("dat/ad/").
AnsiString AdDirectory(const AnsiString& appDir);

// True when `adFiles` is absent or empty, or when a listed file in `adDir`
// is missing or was last modified more than 30.0 days before `now`.
bool AdsAreStale(const AnsiString& adDir, const TStrings* adFiles, TDateTime now);

// The body of `url` as text, up to its first NUL byte; empty when the
// transfer fails in any way.
AnsiString FetchPageText(const AnsiString& url, const TAdTransferLimits& limits = {});

// Appends to `links` the first argument of each writelinks("link","text")
// announcement in `lines`, at most ten, in page order.
void ParseAdLinks(const TStrings& lines, TStrings& links);

// Downloads `link` through the transfer file temp.dat in `adDir` and keeps
// it as <n>.swf when the whole body arrived and is not empty. A failed or
// empty transfer leaves neither the transfer file nor an ad file. Raises
// EFCreateError only when the transfer file cannot be created at all.
void DownloadAd(const AnsiString& adDir, const AnsiString& link, int n, const TAdTransferLimits& limits = {});

// The whole refresh, run when the main window closes. `adFiles` is the list
// of ad file names found at start-up; `adPageLines` and `adLinks` receive the
// page and the links (either may be absent, null lists count as empty).
void RefreshAds(const AnsiString& appDir, const TStrings* adFiles, TStrings* adPageLines, TStrings* adLinks,
                const AnsiString& indexUrl = AdIndexUrl, const TAdTransferLimits& limits = {});
