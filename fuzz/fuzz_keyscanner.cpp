// Arbitrary text scanned by the keyword scanner's dictionary in every mode,
// as UTF-8 and as GBK; the answer must read back in the layout the check
// parses, and each reported written form must occur in a valid UTF-8 text.
// The same bytes are also read as a keyword list and compiled.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Checker/ErrorWordScan.h"
#include "Global/Globals.h"
#include "KeyScanner/KeywordDict.h"
#include "KeyScanner/KeywordList.h"
#include "KeyScanner/PinyinInitials.h"
#include "Utility/EncodingConverter.h"

namespace {

const CKeywordDict& FixedDict()
{
    static const CKeywordDict* s_pDict = [] {
        CKeywordList list;
        std::string sError;
        list.Parse("既使-->即使\n按装-->安装\n既使得-->既使得\nabc-->ABC\n12-->十二\n"
                   "@class 广告 2\n最佳\n国家级\t3\n@class 口语\n咱们\nok\n",
                   "fuzz", sError);
        return new CKeywordDict(list);
    }();
    return *s_pDict;
}

void CheckAnswer(const std::string& sText, const std::string& sAnswer, bool bCheckWords)
{
    if (sAnswer.empty())
        return;
    std::vector<WordPair> vecItems;
    if (ParseKeyScanAnswer(sAnswer, vecItems) != 1)
        __builtin_trap();
    for (const WordPair& item : vecItems)
        if (bCheckWords && sText.find(item.second) == std::string::npos)
            __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    const CKeywordDict& dict = FixedDict();
    bool bValid = IsValidUtf8(sText) && sText.find('\0') == std::string::npos;
    for (int nMode = 0; nMode < 4; ++nMode) {
        CheckAnswer(sText, dict.Scan(sText, nMode, true), bValid && nMode & 1);
        dict.Scan(sText, nMode, false);
    }
    CKeywordList list;
    std::string sError;
    if (list.Parse(sText, "input", sError)) {
        list.AddPinyinInitials();
        CKeywordList again;
        if (!again.Parse(list.ToText(), "again", sError) || again.Entries().size() != list.Entries().size())
            __builtin_trap();
        // Compiling costs milliseconds whatever the list; one input in
        // eight is enough to keep it covered without starving the scans.
        if (nSize % 8 == 0) {
            CKeywordDict compiled(list);
            compiled.Scan(sText, 3, true);
        }
    }
    PinyinInitials(sText);
    return 0;
}
