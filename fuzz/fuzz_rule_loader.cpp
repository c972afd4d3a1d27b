// Arbitrary bytes as a compiled rule file beside valid dictionaries. What
// loads must export, print and save without fault, and save back to a file
// that loads to the same export.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "Utility/FileUtility.h"

namespace {

const char* const kRules =
    "<item><no>1</no><rule>{[A;B]2+3+[-(C)]}s+2+{[D]}</rule><action>extract</action>"
    "<argument>price|单价:{元};5:{年}</argument><kgset>price:a,k;org:e</kgset><field>title1</field></item>"
    "<item><no>2</no><rule>{[A]+[D]}</rule><action>Custom</action></item>"
    "<item><no>3</no><rule>{[price]}s+{[org|机构]}</rule><action>generate_tuple</action>"
    "<field>org</field></item>";

std::string g_sDir;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_bLog = false;
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    g_sDir = FuzzScratchDir("fuzz_rule_loader");
    CRUX set(g_sDir.c_str(), 3);
    set.ImportRuleFromMem(kRules, true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sFile = g_sDir + "/RUX_3.rule";
    std::string sCopy = g_sDir + "/copy.rule";
    std::string sData(reinterpret_cast<const char*>(pData), nSize);
    if (!WriteFileAtomic(sFile, sData))
        return 0;
    CRUX set(g_sDir.c_str(), 7);
    if (set.Load(sFile.c_str()) != 1)
        return 0;
    std::string sExport1 = g_sDir + "/e1.txt", sExport2 = g_sDir + "/e2.txt";
    for (unsigned i = 0; i < set.GetRuleCount(); ++i) {
        set.GetKnowledgeStr(static_cast<int>(i));
        set.GetItem(static_cast<int>(i));
    }
    set.GetRuleListId();
    if (set.Export(sExport1.c_str()) != 1)
        __builtin_trap();
    // Save writes the companions beside the copy, which then loads alone.
    if (set.Save(sCopy.c_str()) != 1)
        __builtin_trap();
    CRUX copy(g_sDir.c_str(), 7);
    if (copy.Load(sCopy.c_str()) != 1 || copy.Export(sExport2.c_str()) != 1)
        __builtin_trap();
    std::string s1, s2;
    ReadWholeFile(sExport1, s1);
    ReadWholeFile(sExport2, s2);
    if (s1 != s2)
        __builtin_trap();
    return 0;
}
