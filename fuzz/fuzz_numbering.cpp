// Fuzz target: the reader of numbering.xml and of the list properties of
// styles, and the counting of automatic numbers over their definitions.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Docx/ListNumbering.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sText(reinterpret_cast<const char*>(pData), nSize);
    CListNumbering numbering;
    numbering.ReadNumbering(sText);
    numbering.ReadStyles(sText);
    // Every list, level and style the text could name, a few times over.
    for (int nRound = 0; nRound < 3; ++nRound) {
        for (int nNumId = -1; nNumId < 4; ++nNumId) {
            for (int nLevel = -1; nLevel < 10; ++nLevel)
                numbering.Next(_tParaList{nNumId, nLevel}, nRound == 0 ? std::string() : "1");
        }
    }
    return 0;
}
