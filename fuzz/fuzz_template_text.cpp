// Arbitrary bytes as a template text: reading never fails or runs past the
// text, and what was read writes back to a text that reads the same.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Docx/DocFormat.h"
#include "Global/Globals.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_bLog = false;
    const char* pText = reinterpret_cast<const char*>(pData);
    CDocFormat format;
    format.Import(pText, pText + nSize, CDocFormat::Type2LevelId());
    std::vector<char> vecFound;
    format.ScanRequired(std::string(pText, nSize), vecFound);
    if (vecFound.size() != format.GetRequiredCount())
        __builtin_trap();
    std::string sOut;
    format.Export(sOut, CDocFormat::LevelId2Type());
    CDocFormat again;
    again.Import(sOut);
    if (again.GetLevelFormats().size() != format.GetLevelFormats().size() ||
        again.GetRequiredCount() > format.GetRequiredCount())
        __builtin_trap();
    return 0;
}
