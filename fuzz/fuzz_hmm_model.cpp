// Arbitrary bytes as the segmenter's unknown-word model: as its binary file
// (what loads must decode any characters without fault) and as the literal
// table text it is built from (all three tables the same input; what reads
// must build or refuse cleanly).
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "Segmenter/HmmModel.h"
#include "Segmenter/HmmModelText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sInput(reinterpret_cast<const char*>(pData), nSize);
    CHmmModel model;
    std::vector<uint32_t> vecCodes;
    for (size_t i = 0; i + 2 <= nSize && vecCodes.size() < 64; i += 2)
        vecCodes.push_back(0x4E00u + (static_cast<uint32_t>(pData[i]) << 8 | pData[i + 1]) % 0x5200u);
    std::vector<double> vecScore;
    std::vector<uint8_t> vecBack, vecStates;
    if (model.LoadFromBytes(sInput))
        model.Decode(vecCodes, vecScore, vecBack, vecStates);
    _tHmmTables tables;
    std::string sError;
    if (ReadHmmTables(sInput, sInput, sInput, tables, sError) && model.Build(tables, sError))
        model.Decode(vecCodes, vecScore, vecBack, vecStates);
    return 0;
}
