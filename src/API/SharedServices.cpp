// Definitions of the shared services; their complete types are known here
// so the owning pointers can destroy them.
#include "API/SharedServices.h"

#include "Checker/DocFormatCheck.h"
#include "RUX/RUXManager.h"
#include "Utility/BufferManager.h"
#include "Utility/ID2Message.h"
#include "Utility/Num2FontSize.h"
#include "Utility/QueryExpand.h"

bool g_bVESKARInit = false;
std::string g_sInitDir;
std::unique_ptr<CRUXManager> g_pRUXManager;
std::unique_ptr<CDocFormatCheck> g_pDocFormatChecker;
std::unique_ptr<CNum2FontSize> g_pNum2FontSize;
std::unique_ptr<CID2Message> g_pError2Message;
std::unique_ptr<CQueryExpand> g_pSimDict;
std::unique_ptr<CQueryExpand> g_pSpellCheckDict;
std::unique_ptr<CBufferManager> g_pVeskarBuffer;

_tCheckServices CheckServices()
{
    _tCheckServices services;
    services.pError2Message = g_pError2Message.get();
    services.pDocFormatChecker = g_pDocFormatChecker.get();
    services.pNum2FontSize = g_pNum2FontSize.get();
    services.pRUXManager = g_pRUXManager.get();
    services.pSimDict = g_pSimDict.get();
    services.pSpellCheckDict = g_pSpellCheckDict.get();
    return services;
}
