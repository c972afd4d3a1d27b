// Arbitrary bytes as heading texts, one per line: the heading-number reader
// in both encodings, the order check over the lines, and the numeral
// conversions on each line.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "Global/Globals.h"
#include "Utility/ChineseNumeral.h"
#include "Utility/NumUtility.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    if (nSize == 0)
        return 0;
    // The first byte picks the reading mode and the order-check options.
    const int nMode = pData[0];
    const int nType = (nMode & 3) == 3 ? -1 : (nMode & 3);
    std::string sInput(reinterpret_cast<const char*>(pData) + 1, nSize - 1);

    CNumUtility utf8(true);
    CNumUtility gbk(false);
    std::istringstream lines(sInput);
    std::string sLine;
    unsigned nId = 0;
    while (std::getline(lines, sLine)) {
        for (CNumUtility* pUtil : {&utf8, &gbk}) {
            _tSection_Info info;
            pUtil->ExtractOrder(sLine.c_str(), info, nType);
            pUtil->GenerateNum(info.order, info.num_format);
            pUtil->SetNewSectionNo(info, -1, nullptr, nullptr, -1, nullptr);
            const _tSection_Format pattern = info;
            pUtil->SetNewSectionNo(info, pattern);
            pUtil->AddSections(info, ++nId);
        }
        Str2Integer(sLine.c_str(), (nMode & 4) != 0);
        ChineseNum2Digit(sLine.c_str(), (nMode & 8) != 0);
        std::string sOut;
        Integer2Str(sLine.c_str(), sOut, (nMode & 16) != 0, true);
    }
    const int nDirection = (nMode & 32) ? -1 : 0;
    const int nStart = (nMode & 64) ? -1 : 1;
    const std::string sChapterText = sInput.substr(0, 8);
    const char* sChapter = (nMode & 128) ? sChapterText.c_str() : nullptr;
    utf8.CheckOrder(nDirection, nStart, sChapter);
    gbk.CheckOrder(nDirection, nStart, nullptr);
    return 0;
}
