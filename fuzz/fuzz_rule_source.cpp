// Arbitrary bytes as a rule source (sets are saved on a memory file system
// to keep runs fast). Every pattern's canonical text must
// parse back to itself, and a compiled, saved set must load back to the same
// export.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "RUX/RUXGrammer.h"

namespace {

const std::string& WorkDir()
{
    return FuzzScratchDir("fuzz_rule_source");
}

void CheckCanonical(const std::string& sPattern)
{
    _tKnowledgeOrg first;
    std::string sError;
    ParseKnowledge(TextStandard(sPattern), first, sError);
    std::string sText = GetKnowledgeStr(first);
    _tKnowledgeOrg second;
    ParseKnowledge(TextStandard(sText), second, sError);
    if (GetKnowledgeStr(second) != sText)
        __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_bLog = false;
    g_bCountryDetect = true;
    WorkDir();
    // Compiles print a progress line each; keep the fuzzer's output readable.
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    CheckCanonical(sText);
    CRUX set(WorkDir().c_str(), 1);
    if (set.ImportRuleFromMem(sText.c_str(), true) != 1)
        return 0;
    for (unsigned i = 0; i < set.GetRuleCount(); ++i)
        CheckCanonical(set.GetKnowledgeStr(static_cast<int>(i)));
    if (set.GetRuleCount() == 0)
        return 0;
    // The exports are compared in memory: the save already wrote one.
    CRUX reloaded(WorkDir().c_str(), 1);
    if (reloaded.Load() != 1 || reloaded.ExportText() != set.ExportText())
        __builtin_trap();
    return 0;
}
