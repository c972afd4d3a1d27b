// Arbitrary bytes as the JSON form of one rule. An accepted rule must print
// a JSON form that reads back as a duplicate of itself.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzScratch.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"

namespace {

// One set for the whole run, holding a fixed rule; each input adds at most
// one rule and takes it out again, so the next input meets the same set.
CRUX* g_pSet = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_bLog = false;
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    // Every edit saves the set: a memory file system keeps that cheap.
    static CRUX s_set(FuzzScratchDir("fuzz_rule_json").c_str(), 2);
    if (s_set.ImportRuleFromMem("<item><no>1</no><rule>{[A]+[B]}s</rule><action>extract</action>"
                                "<argument>k|键</argument></item>",
                                true) != 1)
        __builtin_trap();
    g_pSet = &s_set;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CRUX& set = *g_pSet;
    std::string sJson(reinterpret_cast<const char*>(pData), nSize);
    const int nFixed = static_cast<int>(set.GetRuleCount());
    int nIndex = set.AddItem(sJson.c_str());
    if (nIndex < 0)
        return 0;
    std::string sBack = set.GetItem(nIndex);
    if (sBack.empty() || set.AddItem(sBack.c_str()) != nIndex)
        __builtin_trap();
    if (nIndex < nFixed)
        return 0;  // the input repeats the fixed rule, which stays
    if (set.EditItem(nIndex, sBack.c_str()) != nIndex || sBack != set.GetItem(nIndex))
        __builtin_trap();
    set.GetRuleListId();
    if (set.DeleteItem(nIndex) != 1 || static_cast<int>(set.GetRuleCount()) != nFixed)
        __builtin_trap();
    return 0;
}
