// Exported search-service client: one query per call, answers kept by the
// client's own buffer manager until orlosearch_query_client_exit.
#include <memory>
#include <mutex>
#include <string>

#include "API/ExportGuard.h"
#include "API/SharedServices.h"
#include "SearchClient/SearchAgentConfig.h"
#include "SearchClient/SearchClient.h"
#include "Utility/BufferManager.h"
#include "Utility/Log.h"
#include "veskar.h"

namespace {

std::mutex g_mutexSearchClient;
std::unique_ptr<CBufferManager> g_pSearchBuffer;  // created on first answer
// The time limit read from the started library's SearchAgent.xml, cached
// for the init directory it came from.
std::string g_sSearchConfigDir;
bool g_bSearchConfigRead = false;
int g_nSearchTimeLimit = CSearchAgentConfig::kDefaultTimeLimitSeconds;

int SearchTimeLimitSeconds()
{
    std::lock_guard<std::mutex> lock(g_mutexSearchClient);
    if (g_bSearchConfigRead && g_sSearchConfigDir == g_sInitDir)
        return g_nSearchTimeLimit;
    g_sSearchConfigDir = g_sInitDir;
    g_bSearchConfigRead = true;
    CSearchAgentConfig config;
    std::string sError;
    // Without a started library or its file the built-in limit holds.
    if (g_sInitDir.empty() ||
        !config.Load(g_sInitDir + "/Data/" + CSearchAgentConfig::kFileName, sError))
        return g_nSearchTimeLimit = CSearchAgentConfig::kDefaultTimeLimitSeconds;
    return g_nSearchTimeLimit = config.TimeLimitSeconds();
}

const char* KeepAnswer(std::unique_ptr<char[]> pAnswer)
{
    CBufferManager* pBuffer = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_mutexSearchClient);
        if (!g_pSearchBuffer)
            g_pSearchBuffer = std::make_unique<CBufferManager>();
        pBuffer = g_pSearchBuffer.get();
    }
    return pBuffer->AddBuffer(pAnswer.release());
}

}  // namespace

extern "C" {

VESKAR_API const char* orlosearch_query_client(const char* query, int start, int count, const char* host, int port)
{
    return GuardExport<const char*>("orlosearch_query_client", nullptr, [&]() -> const char* {
        if (!host || port < 0 || port > 65535) {
            SetLastError("Host IP or Port ID is invalid!");
            return nullptr;
        }
        if (!query) {
            SetLastError("orlosearch_query_client: no query given");
            return nullptr;
        }
        CSearchClient client(SearchTimeLimitSeconds());
        std::unique_ptr<char[]> pAnswer = client.Query(query, start, count, host, port);
        if (!pAnswer) {
            SetLastError(client.Error());
            return nullptr;
        }
        return KeepAnswer(std::move(pAnswer));
    });
}

VESKAR_API int orlosearch_query_client_exit(void)
{
    return GuardExport<int>("orlosearch_query_client_exit", 0, []() {
        std::lock_guard<std::mutex> lock(g_mutexSearchClient);
        g_pSearchBuffer.reset();
        return 0;
    });
}

}  // extern "C"
