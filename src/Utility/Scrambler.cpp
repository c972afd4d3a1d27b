// XOR with an 8-byte key mixed with the byte position: self-inverse, and a
// run of equal bytes does not show as a repeating pattern within 256 bytes.
#include "Utility/Scrambler.h"

namespace {
const unsigned char kKey[8] = {'v', 'E', 's', 'K', '@', 'r', '1', '9'};
}

void ScrambleBytes(char* pData, size_t nLen)
{
    for (size_t i = 0; i < nLen; ++i) {
        unsigned char cMask = static_cast<unsigned char>(kKey[i % 8] ^ ((i * 31) & 0xFF));
        pData[i] = static_cast<char>(static_cast<unsigned char>(pData[i]) ^ cMask);
    }
}

void ScrambleString(std::string& sData)
{
    if (!sData.empty())
        ScrambleBytes(&sData[0], sData.size());
}
