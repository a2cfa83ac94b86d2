#include "THttpClient.h"

// The curl header supplies only types and constants here: libcurl itself is
// loaded on the first transfer, so that the program does not carry it and its
// TLS, Kerberos and LDAP dependencies in memory from start-up on.
#include <curl/curl.h>
#include <dlfcn.h>

#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <string>

#include "SysUtils.h"

namespace {

// The libcurl functions this client calls, resolved from the loaded library.
// decltype of the declarations keeps the signatures in step with the header
// without referencing the symbols at link time.
struct CurlApi {
    decltype(&::curl_global_init) globalInit = nullptr;
    decltype(&::curl_easy_init) easyInit = nullptr;
    decltype(&::curl_easy_setopt) easySetopt = nullptr;
    decltype(&::curl_easy_perform) easyPerform = nullptr;
    decltype(&::curl_easy_getinfo) easyGetinfo = nullptr;
    decltype(&::curl_easy_cleanup) easyCleanup = nullptr;
    decltype(&::curl_easy_strerror) easyStrerror = nullptr;
};

constexpr const char* kDefaultCurlLibrary = "libcurl.so.4";

// Guarded by curlMutex. The library stays loaded for the rest of the process
// once found: libcurl keeps global state that must not be unmapped.
std::mutex curlMutex;
std::string curlLibrary = kDefaultCurlLibrary;
CurlApi curlApi;
bool curlLoaded = false;

template <typename Function>
void Resolve(void* library, const char* name, Function& target) {
    void* symbol = ::dlsym(library, name);
    if (symbol == nullptr) {
        throw EHttpError("Cannot start the HTTP client: " + curlLibrary + " has no " + name);
    }
    target = reinterpret_cast<Function>(symbol);
}

// Loads libcurl and runs its one global initialisation on the first call; a
// failure is raised as an HTTP error and the next call tries again. Returns a
// copy, so that a transfer never reads the shared table.
CurlApi LoadCurl() {
    std::lock_guard<std::mutex> lock(curlMutex);
    if (curlLoaded) return curlApi;

    void* library = ::dlopen(curlLibrary.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* reason = ::dlerror();
        throw EHttpError("Cannot start the HTTP client: cannot load " + curlLibrary + ": " +
                         (reason != nullptr ? reason : "unknown error"));
    }
    CurlApi api;
    try {
        Resolve(library, "curl_global_init", api.globalInit);
        Resolve(library, "curl_easy_init", api.easyInit);
        Resolve(library, "curl_easy_setopt", api.easySetopt);
        Resolve(library, "curl_easy_perform", api.easyPerform);
        Resolve(library, "curl_easy_getinfo", api.easyGetinfo);
        Resolve(library, "curl_easy_cleanup", api.easyCleanup);
        Resolve(library, "curl_easy_strerror", api.easyStrerror);
    } catch (...) {
        // Nothing of the library has run yet, so it can go again.
        ::dlclose(library);
        throw;
    }
    // curl_global_init counts its calls, so a second load of the same library
    // after a failed or replaced one does no harm.
    if (const CURLcode result = api.globalInit(CURL_GLOBAL_DEFAULT); result != CURLE_OK) {
        throw EHttpError(AnsiString("Cannot start the HTTP client: ") + api.easyStrerror(result));
    }
    curlApi = api;
    curlLoaded = true;
    return curlApi;
}

// What the callbacks share with Get. Exceptions never cross libcurl's C
// frames: a stream failure is parked here and re-raised after the transfer.
struct TransferState {
    const CurlApi* curl = nullptr;
    CURL* handle = nullptr;
    TStream* body = nullptr;
    std::exception_ptr streamError;
    std::int64_t maxBodyBytes = 0;  // 0: no limit
    std::int64_t bodyBytes = 0;
    bool tooLarge = false;
    AnsiString statusLine;  // the status line of the latest response
};

bool IsSuccessStatus(long code) { return code >= 200 && code <= 299; }

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
    auto& state = *static_cast<TransferState*>(user);
    const size_t bytes = size * count;
    long code = 0;
    state.curl->easyGetinfo(state.handle, CURLINFO_RESPONSE_CODE, &code);
    // An error page is not the resource asked for: it never reaches the stream.
    if (!IsSuccessStatus(code)) return bytes;
    if (state.maxBodyBytes > 0 && state.bodyBytes + std::int64_t(bytes) > state.maxBodyBytes) {
        state.tooLarge = true;
        return CURL_WRITEFUNC_ERROR;
    }
    state.bodyBytes += std::int64_t(bytes);
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

[[noreturn]] void RaiseTransferError(const CurlApi& curl, CURLcode result, const char* detail, const AnsiString& url) {
    AnsiString message = AnsiString(curl.easyStrerror(result));
    if (detail != nullptr && *detail != '\0') message += AnsiString(": ") + detail;
    message += AnsiString(" (") + url + ")";
    if (result == CURLE_OPERATION_TIMEDOUT) throw EHttpTimeout(message);
    throw EHttpError(message);
}

}  // namespace

void THttpClient::Get(const AnsiString& url, TStream& body) {
    responseCode_ = 0;
    const CurlApi api = LoadCurl();

    // The handle is released on every way out, exceptions included.
    std::unique_ptr<CURL, decltype(api.easyCleanup)> handle(api.easyInit(), api.easyCleanup);
    if (!handle) throw EHttpError("Cannot create an HTTP request");
    CURL* curl = handle.get();

    TransferState state;
    state.curl = &api;
    state.handle = curl;
    state.body = &body;
    state.maxBodyBytes = MaxBodyBytes;
    char errorText[CURL_ERROR_SIZE] = {};
    const std::string noProxy = NoProxyHosts();

    api.easySetopt(curl, CURLOPT_URL, url.c_str());
    api.easySetopt(curl, CURLOPT_HTTPGET, 1L);
    // Only web transfers: a link must never make the program read a local
    // file or speak another protocol, neither directly nor by a redirect.
    api.easySetopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    api.easySetopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    api.easySetopt(curl, CURLOPT_FOLLOWLOCATION, MaxRedirects > 0 ? 1L : 0L);
    api.easySetopt(curl, CURLOPT_MAXREDIRS, static_cast<long>(MaxRedirects));
    api.easySetopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(ConnectTimeout));
    api.easySetopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(TotalTimeout));
    // Time-outs by signal would disturb the rest of the program.
    api.easySetopt(curl, CURLOPT_NOSIGNAL, 1L);
    // A body announced larger than allowed is refused before it is read.
    if (MaxBodyBytes > 0) api.easySetopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(MaxBodyBytes));
    api.easySetopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
    api.easySetopt(curl, CURLOPT_USERAGENT, "Mozilla/3.0 (compatible)");
    api.easySetopt(curl, CURLOPT_ERRORBUFFER, errorText);
    api.easySetopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
    api.easySetopt(curl, CURLOPT_WRITEDATA, &state);
    api.easySetopt(curl, CURLOPT_HEADERFUNCTION, ReadHeaderLine);
    api.easySetopt(curl, CURLOPT_HEADERDATA, &state);

    const CURLcode result = api.easyPerform(curl);

    long code = 0;
    api.easyGetinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    responseCode_ = static_cast<int>(code);

    if (state.streamError) std::rethrow_exception(state.streamError);
    if (state.tooLarge || result == CURLE_FILESIZE_EXCEEDED) {
        throw EHttpBodyTooLarge(Format("The body is larger than %lld bytes (", static_cast<long long>(MaxBodyBytes)) +
                                url + ")");
    }
    if (result != CURLE_OK) RaiseTransferError(api, result, errorText, url);
    if (!IsSuccessStatus(code)) {
        const AnsiString status = state.statusLine.empty() ? Format("HTTP status %ld", code) : state.statusLine;
        throw EHttpProtocolError(status, static_cast<int>(code));
    }
}

void SetCurlLibraryForTesting(const char* fileName) {
    std::lock_guard<std::mutex> lock(curlMutex);
    curlLibrary = fileName != nullptr ? fileName : kDefaultCurlLibrary;
    // The old library stays mapped (see LoadCurl); only its table is dropped.
    curlLoaded = false;
    curlApi = CurlApi{};
}
