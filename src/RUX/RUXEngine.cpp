// Engine-wide state lives here; rule-set instances join it with the rule store.
#include "RUX/RUXEngine.h"

#include <memory>
#include <string>

#include "Global/Globals.h"
#include "Segmenter/Segmenter.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {
bool g_bRUXInit = false;
std::unique_ptr<CBufferManager> g_pRUXBuffer;
}  // namespace

int RUX_Init(const char* sDataDir, const char* /*sUnused*/)
{
    g_sDefaultDir = GetCurrentDir();
    std::string sDir = (sDataDir && *sDataDir) ? sDataDir : g_sDefaultDir;
    if (PELNOR_Init(sDir.c_str(), 1) != 1) {
        SetLastError("Error Init TARSIM from " + sDir);
        return -1;
    }
    g_bRUXInit = true;
    g_pRUXBuffer = std::make_unique<CBufferManager>();
    return 1;
}

void RUX_Exit()
{
    PELNOR_Exit();
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
