#include "AdRefresh.h"

#include <time.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Exceptions.h"
#include "FileUtils.h"
#include "Streams.h"
#include "TFlashMovie.h"
#include "THttpClient.h"

namespace {

constexpr double kMaxAdAgeDays = 30.0;
constexpr int kMaxAdLinks = 10;
constexpr const char* kLinkTag = "writelinks(\"";

THttpClient ClientWithLimits(const TAdTransferLimits& limits, std::int64_t maxBodyBytes) {
    THttpClient client;
    client.ConnectTimeout = limits.ConnectTimeout;
    client.TotalTimeout = limits.TotalTimeout;
    client.MaxBodyBytes = maxBodyBytes;
    return client;
}

// The end of the whole refresh on the monotonic clock, which no change of
// the calendar clock moves.
class RefreshDeadline {
public:
    explicit RefreshDeadline(int ms) : endMs_(NowMs() + ms) {}

    // The limits for the next transfer: its time cut to what is left. False
    // when nothing is left.
    bool NextTransfer(const TAdTransferLimits& limits, TAdTransferLimits& next) const {
        const std::int64_t left = endMs_ - NowMs();
        if (left <= 0) return false;
        next = limits;
        const int leftMs = static_cast<int>(std::min<std::int64_t>(left, 0x7FFFFFFF));
        next.TotalTimeout = limits.TotalTimeout > 0 ? std::min(limits.TotalTimeout, leftMs) : leftMs;
        next.ConnectTimeout = limits.ConnectTimeout > 0 ? std::min(limits.ConnectTimeout, leftMs) : leftMs;
        return true;
    }

private:
    static std::int64_t NowMs() {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        return std::int64_t(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
    }
    std::int64_t endMs_;
};

// Start-up lists ad names in lower case, as a case-blind file system would
// find them again. This one tells case apart, so the entry is looked up
// with the same case-blind match the scan used.
AnsiString ListedAdPath(const AnsiString& adDir, const AnsiString& name) {
    if (name.find_first_of("*?") == AnsiString::npos) {
        TSearchRec rec;
        for (int found = FindFirst(adDir + name, faAnyFile, rec); found == 0; found = FindNext(rec)) {
            if (LowerCase(rec.Name) == LowerCase(name)) return adDir + rec.Name;
        }
    }
    return adDir + name;
}

// Drops everything up to and including the first `what` in `text`; false,
// with `text` unchanged, when there is none.
bool DropThrough(AnsiString& text, std::string_view what) {
    const std::size_t pos = AnsiPos(what, text);
    if (pos == 0) return false;
    text.erase(0, pos - 1 + what.size());
    return true;
}

// True when the banner's player opens the file as a movie with at least
// one frame to show.
bool IsPlayableAd(const AnsiString& fileName) {
    TFlashMovie movie;
    movie.LoadFromFile(fileName);
    return movie.Valid() && movie.FrameCount() > 0;
}

}  // namespace

AnsiString AdDirectory(const AnsiString& appDir) { return appDir + "dat/ad/"; }

bool AdsAreStale(const AnsiString& adDir, const TStrings* adFiles, TDateTime now) {
    if (adFiles == nullptr || adFiles->Count() == 0) return true;
    for (int i = 0; i < adFiles->Count(); ++i) {
        TDateTime age = 0;
        if (!FileAge(ListedAdPath(adDir, adFiles->Strings(i)), age)) return true;
        if (now - age > kMaxAdAgeDays) return true;
    }
    return false;
}

AnsiString FetchPageText(const AnsiString& url, const TAdTransferLimits& limits) {
    TMemoryStream page;
    try {
        THttpClient client = ClientWithLimits(limits, limits.MaxPageBytes);
        client.Get(url, page);
    } catch (const EHttpError&) {
        return AnsiString();
    }
    const char* data = page.Memory();
    const auto size = static_cast<std::size_t>(page.Size());
    const void* nul = size == 0 ? nullptr : std::memchr(data, '\0', size);
    return AnsiString(data, nul != nullptr ? static_cast<const char*>(nul) - data : size);
}

void ParseAdLinks(const TStrings& lines, TStrings& links) {
    int found = 1;
    bool exhausted = false;
    for (int item = 0; item < lines.Count() && found <= kMaxAdLinks && !exhausted; ++item) {
        AnsiString rest = lines.Strings(item);
        while (found <= kMaxAdLinks && !exhausted) {
            if (!DropThrough(rest, kLinkTag)) {
                exhausted = true;
                break;
            }
            const std::size_t linkEnd = AnsiPos("\"", rest);
            // An announcement cut off inside its link announces nothing.
            if (linkEnd == 0) {
                exhausted = true;
                break;
            }
            const AnsiString link = rest.substr(0, linkEnd - 1);
            rest.erase(0, linkEnd);
            DropThrough(rest, "\"");  // the opening quote of the text argument
            if (!DropThrough(rest, "\"")) exhausted = true;  // the text itself is not used
            links.Add(link);
            ++found;
        }
    }
}

bool DownloadAd(const AnsiString& adDir, const AnsiString& link, int n, const TAdTransferLimits& limits) {
    const AnsiString transferName = adDir + "temp.dat";
    // A transfer file left behind (by a crash, read-only, or a link to
    // elsewhere) is removed rather than written through, so a stale one can
    // neither block the download nor redirect it.
    DeleteFile(transferName);

    bool complete = false;
    std::int64_t size = 0;
    {
        TFileStream transfer(transferName, fmCreate);
        // Hidden where the file system can mark a file so without renaming it.
        FileSetAttr(transferName, faHidden);
        try {
            THttpClient client = ClientWithLimits(limits, limits.MaxAdBytes);
            client.Get(link, transfer);
            complete = true;
        } catch (const EHttpError&) {
            // Network errors never reach the user: this link simply gives no
            // ad. So does a body past the size or time limit.
        } catch (const EStreamError&) {
            // A full disk: the transfer is as incomplete as a dropped connection.
        }
        size = transfer.Size();
    }

    // Only a complete, non-empty body becomes an ad: a part of a movie is a
    // damaged movie, whatever its size. And only a movie: a server that
    // answers with an error page or a login form must not put a blank
    // banner in place of a working ad.
    if (complete && size > 0 && IsPlayableAd(transferName) && MoveFileReplace(transferName, adDir + IntToStr(n) + ".swf")) {
        FileSetAttr(adDir, faHidden);
        return true;
    }
    DeleteFile(transferName);
    return false;
}

void RefreshAds(const AnsiString& appDir, const TStrings* adFiles, TStrings* adPageLines, TStrings* adLinks,
                const AnsiString& indexUrl, const TAdTransferLimits& limits) {
    const AnsiString adDir = AdDirectory(appDir);
    if (!AdsAreStale(adDir, adFiles, Now())) return;
    const RefreshDeadline deadline(limits.Deadline);

    TStringList localPageLines;
    TStringList localLinks;
    TStrings& pageLines = adPageLines != nullptr ? *adPageLines : localPageLines;
    TStrings& links = adLinks != nullptr ? *adLinks : localLinks;

    TAdTransferLimits transfer;
    if (!deadline.NextTransfer(limits, transfer)) return;
    pageLines.Add(FetchPageText(indexUrl, transfer));
    ParseAdLinks(pageLines, links);
    if (links.Count() == 0) return;

    // The old files, each waiting for a new ad to take its place.
    std::vector<AnsiString> oldFiles;
    if (adFiles != nullptr) {
        for (int i = 0; i < adFiles->Count(); ++i) oldFiles.push_back(ListedAdPath(adDir, adFiles->Strings(i)));
    }
    for (int n = 0; n < links.Count(); ++n) {
        if (!deadline.NextTransfer(limits, transfer)) break;
        if (!DownloadAd(adDir, links.Strings(n), n, transfer)) continue;
        // The move replaced an old file of the same name; otherwise the
        // first old file still waiting goes now.
        const AnsiString written = LowerCase(IntToStr(n) + ".swf");
        auto replaced = std::find_if(oldFiles.begin(), oldFiles.end(),
                                     [&](const AnsiString& path) { return LowerCase(ExtractFileName(path)) == written; });
        if (replaced == oldFiles.end() && !oldFiles.empty()) {
            replaced = oldFiles.begin();
            DeleteFile(*replaced);
        }
        if (replaced != oldFiles.end()) oldFiles.erase(replaced);
    }
}
