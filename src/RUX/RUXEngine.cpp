// Engine-wide state: the started flag, the instance list under its lock and
// the buffer manager for returned strings.
#include "RUX/RUXEngine.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "Segmenter/Segmenter.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {
bool g_bRUXInit = false;
std::mutex g_mutexRUX;
std::vector<std::shared_ptr<CRUX>> g_vecRUX;  // indexed by handle; null once deleted
std::unique_ptr<CBufferManager> g_pRUXBuffer;
std::string g_sRUXDataPath;
}  // namespace

int StartRUXEngine(const char* sDataDir)
{
    g_sDefaultDir = GetCurrentDir();
    std::string sDir = (sDataDir && *sDataDir) ? sDataDir : g_sDefaultDir;
    if (PELNOR_Init(sDir.c_str(), 1) != 1) {
        SetLastError("Error Init TARSIM from " + sDir);
        return -1;
    }
    {
        std::lock_guard<std::mutex> lock(g_mutexRUX);
        g_vecRUX.clear();
    }
    g_sRUXDataPath = JoinPath(sDir, "Data");
    g_bRUXInit = true;
    g_pRUXBuffer = std::make_unique<CBufferManager>();
    NewRUXInstance(0);
    return 1;
}

void StopRUXEngine()
{
    PELNOR_Exit();
    {
        std::lock_guard<std::mutex> lock(g_mutexRUX);
        g_vecRUX.clear();
    }
    g_bRUXInit = false;
    g_pRUXBuffer.reset();
}

bool RUX_IsInit()
{
    return g_bRUXInit;
}

CBufferManager* RUX_GetBufferManager()
{
    return g_pRUXBuffer.get();
}

std::string RUX_GetDataPath()
{
    return g_sRUXDataPath.empty() ? g_sDefaultDir : g_sRUXDataPath;
}

int NewRUXInstance(int nId)
{
    if (!g_bRUXInit) {
        SetLastError("Not Init, no operation!");
        return -1;
    }
    auto pRUX = std::make_shared<CRUX>(nullptr, nId);
    // A set that was never saved starts empty; a failed load is logged.
    if (FileExists(pRUX->RuleFile()))
        pRUX->Load();
    std::lock_guard<std::mutex> lock(g_mutexRUX);
    g_vecRUX.push_back(std::move(pRUX));
    return static_cast<int>(g_vecRUX.size()) - 1;
}

int DeleteRUXInstance(int nHandle)
{
    std::shared_ptr<CRUX> pDoomed;  // released outside the lock
    std::lock_guard<std::mutex> lock(g_mutexRUX);
    if (nHandle < 0 || static_cast<size_t>(nHandle) >= g_vecRUX.size() || !g_vecRUX[static_cast<size_t>(nHandle)]) {
        SetLastError("DC_DeleteInstance  argument(handle " + std::to_string(nHandle) + ") is invalid!");
        return 0;
    }
    pDoomed = std::move(g_vecRUX[static_cast<size_t>(nHandle)]);
    return 1;
}

std::shared_ptr<CRUX> GetRUXWorker(int nHandle)
{
    std::lock_guard<std::mutex> lock(g_mutexRUX);
    if (!g_bRUXInit || nHandle < 0 || static_cast<size_t>(nHandle) >= g_vecRUX.size() ||
        !g_vecRUX[static_cast<size_t>(nHandle)]) {
        SetLastError("GetRUXWorker  argument(handle " + std::to_string(nHandle) + ") is invalid!");
        return nullptr;
    }
    return g_vecRUX[static_cast<size_t>(nHandle)];
}
