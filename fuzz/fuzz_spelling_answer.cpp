// Arbitrary bytes as the spelling server's answer.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Spelling/SpellingChecker.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sAnswer(reinterpret_cast<const char*>(pData), nSize);
    std::vector<_spell_check_result> vecResults;
    ParseSpellingAnswer(sAnswer, vecResults);
    return 0;
}
