// Arbitrary bytes as the JSON form of one rule. An accepted rule must print
// a JSON form that reads back as a duplicate of itself.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Global/Globals.h"
#include "RUX/RUX.h"

namespace {

const std::string& WorkDir()
{
    static std::string sDir = [] {
        char sTemplate[] = "/dev/shm/fuzz_rule_json_XXXXXX";
        const char* s = mkdtemp(sTemplate);
        return std::string(s ? s : "/tmp");
    }();
    return sDir;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_bLog = false;
    if (!std::freopen("/dev/null", "w", stdout))
        return 0;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sJson(reinterpret_cast<const char*>(pData), nSize);
    CRUX set(WorkDir().c_str(), 2);
    set.ImportRuleFromMem("<item><no>1</no><rule>{[A]+[B]}s</rule><action>extract</action>"
                          "<argument>k|键</argument></item>",
                          true);
    int nIndex = set.AddItem(sJson.c_str());
    if (nIndex < 0)
        return 0;
    std::string sBack = set.GetItem(nIndex);
    if (sBack.empty() || set.AddItem(sBack.c_str()) != nIndex)
        __builtin_trap();
    if (set.EditItem(nIndex, sBack.c_str()) != nIndex || sBack != set.GetItem(nIndex))
        __builtin_trap();
    set.GetRuleListId();
    if (set.DeleteItem(nIndex) != 1)
        __builtin_trap();
    return 0;
}
