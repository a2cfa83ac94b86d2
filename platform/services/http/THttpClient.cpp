#include "THttpClient.h"

#include <curl/curl.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "SysUtils.h"

namespace {

// libcurl wants one global initialisation before the first handle; a
// function-local static runs it exactly once, also with several threads.
void EnsureCurlInitialised() {
    static const CURLcode initResult = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (initResult != CURLE_OK) {
        throw EHttpError(AnsiString("Cannot start the HTTP client: ") + curl_easy_strerror(initResult));
    }
}

struct CurlHandleDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlHandle = std::unique_ptr<CURL, CurlHandleDeleter>;

// What the callbacks share with Get. Exceptions never cross libcurl's C
// frames: a stream failure is parked here and re-raised after the transfer.
struct TransferState {
    CURL* handle = nullptr;
    TStream* body = nullptr;
    std::exception_ptr streamError;
    AnsiString statusLine;  // the status line of the latest response
};

bool IsSuccessStatus(long code) { return code >= 200 && code <= 299; }

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    const size_t bytes = size * count;
    long code = 0;
    curl_easy_getinfo(state.handle, CURLINFO_RESPONSE_CODE, &code);
    // An error page is not the resource asked for: it never reaches the stream.
    if (!IsSuccessStatus(code)) return bytes;
    try {
        state.body->WriteBuffer(data, static_cast<std::int64_t>(bytes));
        return bytes;
    } catch (...) {
        state.streamError = std::current_exception();
        return CURL_WRITEFUNC_ERROR;
    }
}

size_t ReadHeaderLine(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    const size_t bytes = size * count;
    std::string line(data, bytes);
    if (line.rfind("HTTP/", 0) == 0) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
        state.statusLine = line;
    }
    return bytes;
}

// Loopback addresses never go through a proxy: a proxy cannot reach this
// machine's own servers. Other hosts follow the user's proxy settings.
std::string NoProxyHosts() {
    std::string hosts = "127.0.0.1,localhost,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            hosts += ',';
            hosts += value;
            break;
        }
    }
    return hosts;
}

[[noreturn]] void RaiseTransferError(CURLcode result, const char* detail, const AnsiString& url) {
    AnsiString message = AnsiString(curl_easy_strerror(result));
    if (detail != nullptr && *detail != '\0') message += AnsiString(": ") + detail;
    message += AnsiString(" (") + url + ")";
    if (result == CURLE_OPERATION_TIMEDOUT) throw EHttpTimeout(message);
    throw EHttpError(message);
}

}  // namespace

void THttpClient::Get(const AnsiString& url, TStream& body) {
    EnsureCurlInitialised();
    responseCode_ = 0;

    CurlHandle handle(curl_easy_init());
    if (!handle) throw EHttpError("Cannot create an HTTP request");
    CURL* curl = handle.get();

    TransferState state;
    state.handle = curl;
    state.body = &body;
    char errorText[CURL_ERROR_SIZE] = {};
    const std::string noProxy = NoProxyHosts();

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    // Only web transfers: a link must never make the program read a local
    // file or speak another protocol, neither directly nor by a redirect.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, MaxRedirects > 0 ? 1L : 0L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, static_cast<long>(MaxRedirects));
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectTimeout));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(TotalTimeout));
    // Time-outs by signal would disturb the rest of the program.
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible)");
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, ReadHeaderLine);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &state);

    const CURLcode result = curl_easy_perform(curl);

    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    responseCode_ = static_cast<int>(code);

    if (state.streamError) std::rethrow_exception(state.streamError);
    if (result != CURLE_OK) RaiseTransferError(result, errorText, url);
    if (!IsSuccessStatus(code)) {
        const AnsiString status = state.statusLine.empty() ? Format("HTTP status %ld", code) : state.statusLine;
        throw EHttpProtocolError(status, static_cast<int>(code));
    }
}
