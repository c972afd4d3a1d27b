// Arbitrary text scanned with a fixed rule set that uses every kind of
// pattern (steps, repeats, optional and negated blocks, tags, paragraph
// markers) and the anchored extractors, through the in-memory scan that
// also runs conflict removal and tuple generation. Runs from the build
// folder (its Data folder holds the segmenter) or with $VESKAR_FUZZ_DATA
// naming the folder that holds Data.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "FuzzScratch.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "Segmenter/Segmenter.h"
#include "Utility/FileUtility.h"

namespace {

const char* const kRules =
    "<item><no>1</no><rule>{[单位;发包人]}+3+{[：]}{[-(有限公司;：)]8+[有限公司]}s</rule><action>extract</action>"
    "<argument>company</argument></item>"
    "<item><no>2</no><rule>{[/m][万元]}s</rule><action>extract</action><argument>amount</argument></item>"
    "<item><no>3</no><rule>{[/LB][附件]0[/x]3}s+2+{[/LE]}</rule><action>extract</action><argument>a;b</argument></item>"
    "<item><no>4</no><rule>{[自]}{[/t]}{[至;止]}s</rule><action>between_extract</action><argument>from;to</argument></item>"
    "<item><no>5</no><rule>{[名称]}s{[/n]}{[/n]}</rule><action>unit_extract</action><argument>l;x;y</argument></item>"
    "<item><no>6</no><rule>{[邮箱]}</rule><action>email_extract</action><argument>a;b;c;d;e;f</argument></item>"
    "<item><no>7</no><rule>{[说明]}</rule><action>paragraphextract</action><argument>note</argument></item>"
    "<item><no>8</no><rule>{[company]}s+{[amount]2}</rule><action>generate_tuple</action><argument>tuple_f</argument></item>"
    "<item><no>9</no><rule>{[/ns]}s</rule><action>extract</action><field>company</field><argument>place</argument></item>"
    "<item><no>10</no><rule>{[甲方]}{[签字]}</rule><action>convert</action><argument>signed;yes</argument></item>";

std::string InitDir()
{
    if (const char* sDir = std::getenv("VESKAR_FUZZ_DATA"))
        return sDir;
    char sExe[4096] = {};
    ssize_t n = readlink("/proc/self/exe", sExe, sizeof(sExe) - 1);
    return n > 0 ? DirName(DirName(std::string(sExe, static_cast<size_t>(n)))) : ".";
}

// Started once per process: the segmenter and the compiled set serve every
// input, and a scan changes neither.
std::unique_ptr<CRUX> g_pSet;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    g_bLog = false;
    if (PELNOR_Init(InitDir().c_str(), 1) != 1)
        __builtin_trap();  // run from the build folder or set VESKAR_FUZZ_DATA
    const std::string& sDir = FuzzScratchDir("fuzz_paragraph_scan");
    g_sDefaultDir = sDir;  // the trace file goes here, not into the working folder
    g_pSet = std::make_unique<CRUX>(sDir.c_str(), 1);
    if (g_pSet->ImportRuleFromMem(kRules, true) != 1)
        __builtin_trap();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize > 8192)
        return 0;
    CRUXAgent agent(g_pSet.get());
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    // No trace: writing it costs each run more than the scan.
    agent.ScanTextMem(sText.c_str(), -1, false);
    agent.ScanRules();
    agent.GetResult("");
    for (const _tKeyVal& keyVal : agent.m_vecSingleKeyVal)
        if (keyVal.key_value.size() > 3 * nSize + 16)
            __builtin_trap();  // a value never outgrows the text it came from
    return 0;
}
