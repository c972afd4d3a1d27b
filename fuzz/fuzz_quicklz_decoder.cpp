// Arbitrary bytes as a QuickLZ block from the search service, as received
// and again with the header's total made to agree with the input's length,
// so the runs reach the items behind the header check.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "SearchClient/QuickLZDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sBlock(reinterpret_cast<const char*>(pData), nSize);
    std::string sOut, sError;
    CQuickLZDecoder decoder;
    decoder.Decompress(sBlock, sOut, sError);
    if (nSize >= 9 && (pData[0] & 0x02)) {
        for (int i = 0; i < 4; ++i)
            sBlock[1 + i] = static_cast<char>((nSize >> (8 * i)) & 0xFF);
    } else if (nSize >= 3 && nSize < 256) {
        sBlock[1] = static_cast<char>(nSize);
    }
    _tQuickLZHeader header;
    if (decoder.Decompress(sBlock, sOut, sError) &&
        (!CQuickLZDecoder::ReadHeader(reinterpret_cast<const uint8_t*>(sBlock.data()), nSize, header, sError) ||
         sOut.size() != header.nSize))
        std::abort();  // a decoded block always yields the size it states
    return 0;
}
