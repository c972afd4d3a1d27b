// Arbitrary bytes through our QuickLZ encoder and back through the decoder:
// every block the encoder writes must decode to exactly its input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "SearchClient/QuickLZDecoder.h"
#include "SearchClient/QuickLZEncoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sBlock = CQuickLZEncoder().Compress(pData, nSize);
    if (nSize == 0)
        return sBlock.empty() ? 0 : (std::abort(), 0);
    std::string sOut, sError;
    CQuickLZDecoder decoder;
    if (!decoder.Decompress(sBlock, sOut, sError) || sOut.size() != nSize ||
        sOut.compare(0, nSize, reinterpret_cast<const char*>(pData), nSize) != 0)
        std::abort();
    return 0;
}
