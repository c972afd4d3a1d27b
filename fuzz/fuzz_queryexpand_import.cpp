// Arbitrary text imported as a similar-word or spelling-error list (the
// first byte picks which); every line's words are looked up, and the three
// files must reload to the same bytes. Inputs large enough to hold a
// dictionary file are also cut in three and offered as a set of files.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Global/Globals.h"
#include "Utility/QueryExpand.h"
#include "Utility/WordListText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    if (nSize == 0)
        return 0;
    std::string sText(reinterpret_cast<const char*>(pData) + 1, nSize - 1);
    CQueryExpand dict("/nonexistent-folder", pData[0] % 2 ? "SpellError" : "expand");
    dict.ImportFromText(sText);
    for (const std::string& sLine : SplitTextLines(sText)) {
        for (const std::string& sField : SplitTabFields(sLine)) {
            dict.GetSimilarWords(sField);
            dict.GetRightForms(sField);
        }
    }
    // Kept for the whole run: each save reuses their room rather than
    // allocating a 256 KB dictionary file twice per input.
    static std::string sPdat, sWords, sMap, sPdat2, sWords2, sMap2;
    if (dict.SaveToBuffers(sPdat, sWords, sMap)) {
        CQueryExpand reloaded("/nonexistent-folder", "expand");
        if (!reloaded.LoadFromBuffers(sPdat, sWords, sMap) || !reloaded.SaveToBuffers(sPdat2, sWords2, sMap2) ||
            sPdat2 != sPdat || sWords2 != sWords || sMap2 != sMap)
            __builtin_trap();
    }
    // A dictionary file starts with a 256 KB character table; the raw cut
    // is only tried on inputs that can hold one (never under the usual
    // -max_len, where it would only cost the table's allocation).
    size_t nThird = sText.size() / 3;
    if (nThird <= 65536 * 4)
        return 0;
    CQueryExpand raw("/nonexistent-folder", "SpellError");
    if (raw.LoadFromBuffers(sText.substr(0, nThird), sText.substr(nThird, nThird), sText.substr(2 * nThird)))
        raw.GetRightForms(sText.substr(0, 6));
    return 0;
}
