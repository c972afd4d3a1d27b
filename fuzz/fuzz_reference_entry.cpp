// Arbitrary bytes as reference entries, one per line: the whole entry
// reader (full-width table, type marks, labels, parts, years, dates,
// journal numbers and pages) on each line, with the first byte as the
// length of a drawn list number.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "Checker/ReferenceDate.h"
#include "Checker/ReferenceEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize == 0)
        return 0;
    const size_t nNumLen = pData[0] & 15;
    std::string sInput(reinterpret_cast<const char*>(pData) + 1, nSize - 1);
    CReferenceEntry entry(20240615);
    std::istringstream lines(sInput);
    std::string sLine;
    while (std::getline(lines, sLine)) {
        const bool bPassed = entry.Check(sLine, nNumLen);
        // A finding always names its code; a pass never does.
        if (bPassed == entry.Code().empty()) {
            size_t nPos = 0;
            CReferenceDate date;
            while (date.Find(sLine, nPos))
                date.IsValid(20240615);
            continue;
        }
        __builtin_trap();
    }
    return 0;
}
