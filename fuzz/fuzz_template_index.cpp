// Arbitrary bytes as the template store's index file: a file that reads is
// consistent (every posting names a template, every text lies inside the
// data file, every id inside the dictionary) and writes back to itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Docx/TemplateIndex.h"
#include "Global/Globals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    if (nSize < 2)
        return 0;
    // The first two bytes choose the dictionary size and the data file size.
    size_t nWords = pData[0] % 16;
    uint64_t nDataSize = static_cast<uint64_t>(pData[1]) * 256;
    std::string sFile(reinterpret_cast<const char*>(pData) + 2, nSize - 2);
    CTemplateIndex index;
    std::vector<_tTemplate> vecTemplates;
    if (!index.Read(sFile, nWords, nDataSize, vecTemplates))
        return 0;
    for (size_t t = 0; t < index.TermCount(); ++t)
        for (int i : index.Postings(t))
            if (i < 0 || static_cast<size_t>(i) >= vecTemplates.size())
                __builtin_trap();
    for (const _tTemplate& record : vecTemplates)
        if (record.template_data_offset + record.template_data_size > nDataSize ||
            record.organization_id >= static_cast<int>(nWords))
            __builtin_trap();
    return 0;
}
