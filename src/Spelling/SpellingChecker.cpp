// The spelling server's client over libcurl, and the in-process provider
// that stands in for the server when the address is "local".
#include "Spelling/SpellingChecker.h"

#include <curl/curl.h>
#include <json/json.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

#include "Global/Globals.h"
#include "Utility/AsciiCase.h"
#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"

namespace {

const long kDefaultTimeoutMs = 5000;
// An answer is one sentence's corrections; anything far larger is no answer.
const size_t kMaxAnswerBytes = 4u << 20;

std::atomic<long> g_nConnectTimeoutMs{kDefaultTimeoutMs};
std::atomic<long> g_nTotalTimeoutMs{kDefaultTimeoutMs};

std::mutex g_mutexProvider;
std::shared_ptr<const SpellingProvider> g_pProvider;
std::atomic<bool> g_bToldNoProvider{false};

// A server that could not be reached is not asked again for a while: a
// document holds thousands of runs, and each would wait out the time limit.
const auto kPauseAfterFailure = std::chrono::seconds(30);
std::mutex g_mutexDown;
std::string g_sDownAddress;
std::chrono::steady_clock::time_point g_tDownUntil;

bool ServerPaused(const std::string& sAddress)
{
    std::lock_guard<std::mutex> lock(g_mutexDown);
    return sAddress == g_sDownAddress && std::chrono::steady_clock::now() < g_tDownUntil;
}

void PauseServer(const std::string& sAddress)
{
    std::lock_guard<std::mutex> lock(g_mutexDown);
    g_sDownAddress = sAddress;
    g_tDownUntil = std::chrono::steady_clock::now() + kPauseAfterFailure;
}

bool IsUnreachable(CURLcode rc)
{
    return rc == CURLE_COULDNT_CONNECT || rc == CURLE_OPERATION_TIMEDOUT || rc == CURLE_COULDNT_RESOLVE_HOST;
}

// libcurl's global set-up is not thread-safe and must not be repeated per
// request while other checks transfer, so it runs once for the process.
bool CurlReady()
{
    static std::once_flag s_once;
    static CURLcode s_code = CURLE_OK;
    std::call_once(s_once, [] { s_code = curl_global_init(CURL_GLOBAL_ALL); });
    if (s_code != CURLE_OK)
        WriteError(std::string("curl_global_init() failed: ") + curl_easy_strerror(s_code));
    return s_code == CURLE_OK;
}

size_t CollectBody(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    std::string& sBody = *static_cast<std::string*>(pUser);
    size_t nBytes = nSize * nCount;
    if (sBody.size() + nBytes > kMaxAnswerBytes)
        return 0;  // ends the transfer with a write error
    sBody.append(pData, nBytes);
    return nBytes;
}

struct CurlHandleFree {
    void operator()(CURL* p) const { curl_easy_cleanup(p); }
};

std::optional<std::string> PostToServer(const std::string& sBody)
{
    if (!CurlReady())
        return std::nullopt;
    std::unique_ptr<CURL, CurlHandleFree> pCurl(curl_easy_init());
    if (!pCurl) {
        WriteError("curl_easy_init() failed");
        return std::nullopt;
    }
    const std::string sAddress = g_sSpellingHostIP;
    if (ServerPaused(sAddress))
        return std::nullopt;  // its failure was logged when it happened
    std::string sUrl = "http://" + sAddress + "/get_maybe_sentence";
    std::string sAnswer;
    CURL* c = pCurl.get();
    curl_easy_setopt(c, CURLOPT_URL, sUrl.c_str());
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, sBody.data());
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE, static_cast<long>(sBody.size()));
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, CollectBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sAnswer);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 0L);
    // Time limits use no signals, which would be unsafe with other threads.
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, g_nConnectTimeoutMs.load());
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, g_nTotalTimeoutMs.load());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http");
    CURLcode rc = curl_easy_perform(c);
    if (rc != CURLE_OK) {
        WriteError(std::string("curl_easy_perform() failed: ") + curl_easy_strerror(rc));
        if (IsUnreachable(rc))
            PauseServer(sAddress);
        return std::nullopt;
    }
    long nStatus = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &nStatus);
    if (nStatus >= 400) {
        WriteError("spelling server answered HTTP " + std::to_string(nStatus) + " for " + sUrl);
        return std::nullopt;
    }
    return sAnswer;
}

bool IsLocalAddress()
{
    return AsciiLower(g_sSpellingHostIP) == "local";
}

std::optional<std::string> AskLocalProvider(const std::string& sSentence)
{
    std::shared_ptr<const SpellingProvider> pProvider;
    {
        std::lock_guard<std::mutex> lock(g_mutexProvider);
        pProvider = g_pProvider;
    }
    if (!pProvider || !*pProvider) {
        // Said once: every run of every paragraph would say it again.
        if (!g_bToldNoProvider.exchange(true))
            WriteError("spelling address is \"local\" but no local spelling service is registered");
        return std::nullopt;
    }
    try {
        return (*pProvider)(sSentence);
    } catch (const std::exception& e) {
        WriteError(std::string("local spelling service failed: ") + e.what());
    } catch (...) {
        WriteError("local spelling service failed");
    }
    return std::nullopt;
}

unsigned PositionOf(const Json::Value& v)
{
    return v.isUInt() ? v.asUInt() : 0u;
}

}  // namespace

std::optional<std::string> SpellingChecker(const char* sLine, int encode)
{
    if (!sLine || !*sLine)
        return std::nullopt;
    std::string sText = sLine;
    if (encode == 0) {
        std::string sUtf8;
        GbkToUtf8(sText, sUtf8);
        sText.swap(sUtf8);
    }
    std::optional<std::string> sAnswer =
        IsLocalAddress() ? AskLocalProvider(sText) : PostToServer("\"sentence\"=\"" + sText + "\"");
    if (sAnswer && encode == 0) {
        std::string sGbk;
        Utf8ToGbk(*sAnswer, sGbk);
        sAnswer = std::move(sGbk);
    }
    return sAnswer;
}

int ParseSpellingAnswer(const std::string& sAnswer, std::vector<_spell_check_result>& results)
{
    results.clear();
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> pReader(builder.newCharReader());
    std::string sErrors;
    if (!pReader->parse(sAnswer.data(), sAnswer.data() + sAnswer.size(), &root, &sErrors))
        return -1;
    if (!root.isObject())
        return 0;
    const Json::Value& sentences = root["pred_sentences"];
    if (!sentences.isArray() || sentences.empty() || !sentences[0].isObject())
        return 0;
    const Json::Value& detail = sentences[0]["detail"];
    if (detail.isNull())
        return 1;
    if (!detail.isArray())
        return 0;
    for (const Json::Value& item : detail) {
        if (!item.isObject() || !item["org"].isString() || !item["revise"].isString())
            continue;
        _spell_check_result result;
        result.orig = item["org"].asString();
        result.revise = item["revise"].asString();
        result.start = PositionOf(item["start"]);
        result.end = PositionOf(item["end"]);
        results.push_back(std::move(result));
    }
    return 1;
}

bool SpellingChecker(const char* sLine, std::vector<_spell_check_result>& results)
{
    results.clear();
    std::optional<std::string> sAnswer = SpellingChecker(sLine, 1);
    if (!sAnswer)
        return false;
    int nParsed = ParseSpellingAnswer(*sAnswer, results);
    if (nParsed < 0)
        WriteError("parse json string failed:" + *sAnswer);
    return nParsed > 0;
}

void SetSpellingTimeouts(long nConnectMs, long nTotalMs)
{
    g_nConnectTimeoutMs = nConnectMs >= 1 ? nConnectMs : kDefaultTimeoutMs;
    g_nTotalTimeoutMs = nTotalMs >= 1 ? nTotalMs : kDefaultTimeoutMs;
}

void SetLocalSpellingProvider(SpellingProvider provider)
{
    std::shared_ptr<const SpellingProvider> pProvider;
    if (provider)
        pProvider = std::make_shared<const SpellingProvider>(std::move(provider));
    std::lock_guard<std::mutex> lock(g_mutexProvider);
    g_pProvider = std::move(pProvider);
    g_bToldNoProvider = false;
}
