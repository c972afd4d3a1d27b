// Arbitrary text as a word list imported into a dictionary (in the mode the
// first byte picks) and into a word list over it; then the dictionary scans
// and segments the same text. The list must give back, for every id, a text
// that the dictionary finds under that id, and both files must reload as
// the same bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"
#include "Utility/WordListText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    if (nSize == 0)
        return 0;
    std::string sText(reinterpret_cast<const char*>(pData) + 1, nSize - 1);
    CPDAT dict(pData[0] % 3);
    std::string sExport;
    dict.ImportFromText(sText, nullptr, &sExport);
    CWordList list;
    list.ImportFromText(sText, &dict, nullptr);
    for (const std::string& sLine : SplitTextLines(sText)) {
        int nId = dict.Find(ParseWordListEntry(sLine));
        if (nId >= 0 && dict.Find(list.GetWord(nId)) != nId)
            __builtin_trap();
    }
    const std::string sDict = dict.SaveToBuffer(), sList = list.SaveToBuffer();
    CPDAT reloaded;
    CWordList relist;
    if (!reloaded.LoadFromBuffer(sDict) || reloaded.SaveToBuffer() != sDict || !relist.LoadFromBuffer(sList) ||
        relist.SaveToBuffer() != sList)
        __builtin_trap();
    std::vector<_stTermPosition> vecHits;
    for (int nMode = 0; nMode < 3; ++nMode)
        dict.MMScanPosition(sText.c_str(), vecHits, nMode);
    std::vector<int> vecIds;
    std::string sOut;
    dict.MMSegment(sText.c_str(), vecIds, sOut, true, static_cast<int>(pData[0]) % 7, "\t");
    dict.ExportToText();
    return 0;
}
