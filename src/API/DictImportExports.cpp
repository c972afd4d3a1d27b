// Exported imports of the shared dictionaries: similar words, spelling
// errors and the keyword scanner's user list.
#include <string>

#include "API/ExportGuard.h"
#include "API/SharedServices.h"
#include "KeyScanner/KeyScanner.h"
#include "Segmenter/Segmenter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/QueryExpand.h"
#include "veskar.h"

namespace {

// The segmenter tags the words of this file, so the spelling check knows
// which tokens to look up in the spelling-error dictionary.
const char* const kSpellErrorTag = "srclist";

std::string LocalName(const char* sFile)
{
    std::string sName;
    GetAnsiFilename(sFile ? sFile : "", sName, false);
    return sName;
}

int ImportQueryDict(CQueryExpand* pDict, const char* sName, const char* sFile)
{
    if (!pDict) {
        SetLastError(std::string(sName) + " not init!");
        return 0;
    }
    return pDict->Import(LocalName(sFile).c_str());
}

}  // namespace

extern "C" {

VESKAR_API int VESKAR_ImportSimDict(const char* sSimDictFile)
{
    return GuardExport("VESKAR_ImportSimDict", -1,
                       [&] { return ImportQueryDict(g_pSimDict.get(), "g_pSimDict", sSimDictFile); });
}

VESKAR_API int VESKAR_ImportSpellErrorDict(const char* sSpellErrorDict)
{
    return GuardExport("VESKAR_ImportSpellErrorDict", -1, [&] {
        int nResult = ImportQueryDict(g_pSpellCheckDict.get(), "g_pSpellCheckDict", sSpellErrorDict);
        if (nResult <= 0)
            return nResult;
        std::string sUserDict = g_pSpellCheckDict->FileStem() + "_userdict.txt";
        if (!g_pSpellCheckDict->WriteUserDict(sUserDict, kSpellErrorTag))
            return -1;
        // The segmenter then keeps every wrong form whole, so the spelling
        // pass sees it as one word.
        return PELNOR_ImportUserDict(sUserDict.c_str(), 0);
    });
}

VESKAR_API int VESKAR_ImportUserDict(const char* sUserDict)
{
    return GuardExport("VESKAR_ImportUserDict", -1,
                       [&] { return PELNOR_ImportUserDict(LocalName(sUserDict).c_str(), 0); });
}

VESKAR_API int VESKAR_ImportFieldDict(const char* sFiledDictFile, bool bPinyinAbbrevNeeded, bool bOverwrite)
{
    return GuardExport("VESKAR_ImportFieldDict", -1, [&] {
        std::string sFile = LocalName(sFiledDictFile);
        int nResult = KS_ImportUserDict(sFile.c_str(), bPinyinAbbrevNeeded, bOverwrite, 0);
        if (nResult < 0)
            SetLastError(KS_GetLastErrorMsg());
        return nResult;
    });
}

}  // extern "C"
