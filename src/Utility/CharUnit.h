// How the dictionary reads text: character units of one or two bytes, with
// the folding of each character mode. Shared by building and lookups, so a
// word is keyed exactly the way text is read later.
#pragma once

#include <cstdint>

// Character modes of a dictionary.
enum {
    PDAT_MODE_GBK = 0,   // units of one or two bytes, 'A'-'Z' folded to lower case
    PDAT_MODE_BYTE = 1,  // every byte its own unit, no folding
    PDAT_MODE_NAME = 2   // as GBK, plus the normalisation of names and titles
};

// The code a separator run reads as in name mode (and a tab in the others).
const int PDAT_SEPARATOR_CODE = 9;

inline bool IsPdatWhiteSpace(int nCode)
{
    return nCode == 32 || nCode == 9 || nCode == 13 || nCode == 10;
}

// Single bytes and GBK characters that name mode folds into one separator.
inline bool IsNameSeparator(int nCode)
{
    switch (nCode) {
    case ' ': case '\t': case '\r': case '\n': case ',': case '/': case '_':
    case 0xA3DC: case 0xA3FC: case 0xA3AC: case 0xA3AE: case 0xA1A3:
    case 0xA1A2: case 0xA3AD: case 0xA1AA: case 0xAAA4:
        return true;
    default:
        return false;
    }
}

// Full-width brackets, quotes, digits and letters to their plain forms.
inline int NormaliseNameCode(int nCode)
{
    if (nCode < 0x100)
        return (nCode >= 'A' && nCode <= 'Z') ? nCode + 32 : nCode;
    switch (nCode) {
    case 0xA3A8: case 0xA1BE: return '(';
    case 0xA3A9: case 0xA1BF: return ')';
    case 0xA1B0: case 0xA1B1: case 0xA1AE: case 0xA3A7: return '"';
    default: break;
    }
    if (nCode >= 0xA3B0 && nCode <= 0xA3B9)
        return '0' + (nCode - 0xA3B0);
    if (nCode >= 0xA3C1 && nCode <= 0xA3DA)
        return 'a' + (nCode - 0xA3C1);
    if (nCode >= 0xA3E1 && nCode <= 0xA3FA)
        return 'a' + (nCode - 0xA3E1);
    return nCode;
}

// The raw unit at nPos: two bytes when the first has its high bit set and a
// second byte follows, else one.
inline int ReadRawUnit(const unsigned char* pText, int nPos, int nLen, int& nUnitLen)
{
    unsigned char c = pText[nPos];
    if ((c & 0x80) && nPos + 1 < nLen) {
        nUnitLen = 2;
        return (c << 8) | pText[nPos + 1];
    }
    nUnitLen = 1;
    return c;
}

// The unit at nPos in the given mode and its length in bytes. In name mode
// a run of separators is one unit of PDAT_SEPARATOR_CODE.
inline int ReadCharUnit(int nMode, const unsigned char* pText, int nPos, int nLen, int& nUnitLen)
{
    if (nMode == PDAT_MODE_BYTE) {
        nUnitLen = 1;
        return pText[nPos];
    }
    int nCode = ReadRawUnit(pText, nPos, nLen, nUnitLen);
    if (nMode == PDAT_MODE_GBK)
        return (nCode >= 'A' && nCode <= 'Z') ? nCode + 32 : nCode;
    if (!IsNameSeparator(nCode))
        return NormaliseNameCode(nCode);
    int nNext = nPos + nUnitLen;
    while (nNext < nLen) {
        int nLenNext = 0;
        if (!IsNameSeparator(ReadRawUnit(pText, nNext, nLen, nLenNext)))
            break;
        nNext += nLenNext;
    }
    nUnitLen = nNext - nPos;
    return PDAT_SEPARATOR_CODE;
}
