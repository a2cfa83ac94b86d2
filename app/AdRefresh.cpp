#include "AdRefresh.h"

#include <cstring>

#include "Exceptions.h"
#include "FileUtils.h"
#include "Streams.h"
#include "THttpClient.h"

namespace {

constexpr double kMaxAdAgeDays = 30.0;
constexpr int kMaxAdLinks = 10;
constexpr const char* kLinkTag = "writelinks(\"";

THttpClient ClientWithLimits(const TAdTransferLimits& limits) {
    THttpClient client;
    client.ConnectTimeout = limits.ConnectTimeout;
    client.TotalTimeout = limits.TotalTimeout;
    return client;
}

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
        THttpClient client = ClientWithLimits(limits);
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

void DownloadAd(const AnsiString& adDir, const AnsiString& link, int n, const TAdTransferLimits& limits) {
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
            THttpClient client = ClientWithLimits(limits);
            client.Get(link, transfer);
            complete = true;
        } catch (const EHttpError&) {
            // Network errors never reach the user: this link simply gives no ad.
        } catch (const EStreamError&) {
            // A full disk: the transfer is as incomplete as a dropped connection.
        }
        size = transfer.Size();
    }

    // Only a complete, non-empty body becomes an ad: a part of a movie is a
    // damaged movie, whatever its size.
    if (complete && size > 0 && MoveFileReplace(transferName, adDir + IntToStr(n) + ".swf")) {
        FileSetAttr(adDir, faHidden);
        return;
    }
    DeleteFile(transferName);
}

void RefreshAds(const AnsiString& appDir, const TStrings* adFiles, TStrings* adPageLines, TStrings* adLinks,
                const AnsiString& indexUrl, const TAdTransferLimits& limits) {
    const AnsiString adDir = AdDirectory(appDir);
    if (!AdsAreStale(adDir, adFiles, Now())) return;

    TStringList localPageLines;
    TStringList localLinks;
    TStrings& pageLines = adPageLines != nullptr ? *adPageLines : localPageLines;
    TStrings& links = adLinks != nullptr ? *adLinks : localLinks;

    pageLines.Add(FetchPageText(indexUrl, limits));
    ParseAdLinks(pageLines, links);
    if (links.Count() == 0) return;

    if (adFiles != nullptr) {
        for (int i = 0; i < adFiles->Count(); ++i) DeleteFile(ListedAdPath(adDir, adFiles->Strings(i)));
    }
    for (int n = 0; n < links.Count(); ++n) DownloadAd(adDir, links.Strings(n), n, limits);
}
