// Services that fail to start are logged and left missing, except the rule
// engine, the format checker with its font sizes, and the catalogue, without
// which no check can be scored.
#include "API/LibraryFrame.h"

#include <memory>

#include "API/InstanceTable.h"
#include "API/LocalSpelling.h"
#include "Checker/DocFormatCheck.h"
#include "Checker/ReportChecker.h"
#include "Convert/EncodingRecogniser.h"
#include "CountryDetect/CountryDetector.h"
#include "Global/Globals.h"
#include "Global/RUXConfigure.h"
#include "API/SharedServices.h"
#include "KeyScanner/KeyScanner.h"
#include "RUX/RUXEngine.h"
#include "RUX/RUXManager.h"
#include "Utility/BufferManager.h"
#include "Utility/FileUtility.h"
#include "Utility/ID2Message.h"
#include "Utility/Log.h"
#include "Utility/Num2FontSize.h"
#include "Utility/QueryExpand.h"

namespace {

bool g_bServicesCreated = false;

std::string DataFile(const std::string& sInitDir, const char* sName)
{
    return sInitDir + "/" + "Data" + "/" + sName;
}

void StartKeyScanner(const std::string& sInitDir)
{
    if (g_bFilteringCheck && KS_Init(sInitDir.c_str(), 1) != 1)
        SetLastError("Error Init KeyScanner from " + sInitDir + KS_GetLastErrorMsg());
}

// Format checker and font sizes: 1, -5 or -7.
int StartFormatChecker(const std::string& sInitDir)
{
    g_pDocFormatChecker.reset();
    if (!g_bFormatCheck)
        return 1;
    g_pDocFormatChecker = std::make_unique<CDocFormatCheck>(sInitDir.c_str());
    if (!g_pDocFormatChecker)
        return -5;
    g_pNum2FontSize = std::make_unique<CNum2FontSize>();
    std::string sPath = sInitDir + "/" + "/Data/Font/FontSize.dat";
    return g_pNum2FontSize->Import(sPath.c_str()) <= 0 ? -7 : 1;
}

int LoadCatalogue(const std::string& sInitDir)
{
    g_pError2Message = std::make_unique<CID2Message>();
    std::string sPath = sInitDir + "/" + "/Data/Error/ErrorMessage.dat";
    return g_pError2Message->Load(sPath.c_str()) == 1 ? 1 : -6;
}

void StartOptionalServices(const std::string& sInitDir)
{
    std::string sDataDir = sInitDir + "/" + "Data";
    g_pSimDict = std::make_unique<CQueryExpand>(sDataDir, "expand");
    g_pSpellCheckDict = std::make_unique<CQueryExpand>(sDataDir, "SpellError");
    std::string sKnowGraph = DataFile(sInitDir, "KnowGraph.txt");
    if (!OpenKnowledgeLog(sKnowGraph))
        SetLastError("Fail writing file " + sKnowGraph);
    std::string sModel = DataFile(sInitDir, "CodeTrans.model");
    if (EncodingRecogniser_Init(sModel.c_str()) < 0)
        SetLastError("Fail read encoding recognition file " + sModel);
    if (g_bCountryDetect && CountryDetect_Init(sInitDir.c_str()) == 0)
        SetLastError("Fail CountryDetect_Init ");
}

}  // namespace

std::string ResolveInitDir(const char* sInitDirPath)
{
    std::string sCurrent = GetCurrentDir();
    if (!sInitDirPath || !*sInitDirPath)
        return sCurrent;
    if (sInitDirPath[0] == '.')
        return sCurrent + "/" + sInitDirPath;
    return sInitDirPath;
}

int StartLibrary(const char* sInitDirPath)
{
    // A second start replaces the first cleanly instead of leaking it.
    if (g_bServicesCreated)
        StopLibrary();
    g_nEncoding = 1;
    g_sDefaultDir = GetCurrentDir();
    g_bVESKARInit = false;
    g_bServicesCreated = true;
    // First, so every export that returns text has its buffers even after a
    // start that failed half way.
    g_pVeskarBuffer = std::make_unique<CBufferManager>();
    std::string sInitDir = ResolveInitDir(sInitDirPath);
    g_sInitDir = sInitDir;
    LoadRUXConfigre(DataFile(sInitDir, "RUX-Configure.json"));
    if (StartRUXEngine(sInitDir.c_str()) != 1) {
        SetLastError("Error Init RUX from " + sInitDir);
        return -1;
    }
    g_pRUXManager = std::make_unique<CRUXManager>(sInitDir.c_str());
    if (g_pRUXManager->Load() != 1)
        SetLastError("Failed while g_pRUXManager->Load " + sInitDir);
    StartKeyScanner(sInitDir);
    int nResult = StartFormatChecker(sInitDir);
    if (nResult != 1)
        return nResult;
    nResult = LoadCatalogue(sInitDir);
    if (nResult != 1)
        return nResult;
    StartOptionalServices(sInitDir);
    RegisterLocalSpelling();
    g_bVESKARInit = true;
    g_vecReportChecker.Add(std::make_unique<CReportChecker>(CheckServices()));
    return 1;
}

void StopLibrary()
{
    StopRUXEngine();
    if (g_bFilteringCheck)
        KS_Exit();
    g_pRUXManager.reset();
    for (int i = 0, n = g_vecReportChecker.Size(); i < n; ++i)
        g_vecReportChecker.Delete(i);
    g_vecReportChecker.Clear();
    g_pDocFormatChecker.reset();
    g_pError2Message.reset();
    g_pNum2FontSize.reset();
    g_pSimDict.reset();
    g_pSpellCheckDict.reset();
    ReleaseLocalSpelling();
    CloseKnowledgeLog();
    EncodingRecogniser_Exit();
    if (g_bCountryDetect)
        CountryDetect_Exit();
    g_pVeskarBuffer.reset();
    g_bVESKARInit = false;
    g_bServicesCreated = false;
}
