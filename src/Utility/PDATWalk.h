// The hot loops of dictionary lookups, compiled once per character mode so
// the unit reading and folding of the common modes are a few instructions.
// Internal to CPDAT: it hands in its array, table and bound.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "Utility/CharTable.h"
#include "Utility/CharUnit.h"
#include "Utility/TrieBuilder.h"

struct _tArrayView {
    const state* pData;
    const CCharTable* pCharset;
    uint32_t nLowerBound;
};

// Units that take part in overlapping scans: GBK Chinese characters,
// lower-case letters and digits.
inline bool IsScanUnit(int nCode)
{
    if (nCode >= 0x100)
        return (nCode >> 8) >= 0xB0 && (nCode & 0xFF) >= 0xA1;
    return (nCode >= 'a' && nCode <= 'z') || (nCode >= '0' && nCode <= '9');
}

template <int Mode>
inline int ReadUnit(const unsigned char* p, int nPos, int nLen, int& nUnitLen)
{
    if (Mode == PDAT_MODE_BYTE) {
        nUnitLen = 1;
        return p[nPos];
    }
    if (Mode == PDAT_MODE_GBK) {
        unsigned c = p[nPos];
        if (c < 0x80 || nPos + 1 >= nLen) {
            nUnitLen = 1;
            return static_cast<int>(c - 'A' < 26u ? c + 32 : c);
        }
        nUnitLen = 2;
        return static_cast<int>((c << 8) | p[nPos + 1]);
    }
    return ReadCharUnit(Mode, p, nPos, nLen, nUnitLen);
}

// The state reached from the state whose |base| is nBase and whose index is
// nExpect (0 and -2 stand for the root) on a code; -1 when there is none.
// Every target is checked, the one at index 0 included.
inline int32_t StepFrom(const _tArrayView& array, int32_t nBase, int32_t nExpect, int nCode)
{
    int32_t nId = array.pCharset->Get(nCode);
    if (nId < 0)
        return -1;
    uint32_t nTarget = static_cast<uint32_t>(nBase) + static_cast<uint32_t>(nId);
    if (nTarget > array.nLowerBound || array.pData[nTarget].check != nExpect)
        return -1;
    return static_cast<int32_t>(nTarget);
}

// Folds white space the way every lookup does: any of 32, 9, 13, 10 reads
// as one space, and one right after another is skipped (result false).
inline bool FoldWhiteSpace(int& nCode, bool& bPrevSpace)
{
    if (nCode <= ' ' && IsPdatWhiteSpace(nCode)) {
        if (bPrevSpace)
            return false;
        bPrevSpace = true;
        nCode = ' ';
        return true;
    }
    bPrevSpace = false;
    return true;
}

// The exact word of the text, or -1.
template <int Mode>
int FindExact(const _tArrayView& array, const unsigned char* p, int n)
{
    int32_t nBase = 0, nCur = -2;
    bool bPrevSpace = false;
    for (int nPos = 0; nPos < n;) {
        int nUnitLen = 0;
        int nCode = ReadUnit<Mode>(p, nPos, n, nUnitLen);
        nPos += nUnitLen;
        if (Mode == PDAT_MODE_NAME && nCode == PDAT_SEPARATOR_CODE)
            continue;  // separator runs are not part of keys
        if (!FoldWhiteSpace(nCode, bPrevSpace))
            continue;
        nCur = StepFrom(array, nBase, nCur, nCode);
        if (nCur < 0)
            return -1;
        nBase = std::abs(array.pData[nCur].base);
    }
    if (nCur < 0 || array.pData[nCur].base > 0)
        return -1;
    return array.pData[nCur].handle;
}

// What a longest-prefix walk found.
struct _tMatch {
    int nLength = 0;  // bytes
    int nHandle = -1;
    bool bSpansSpace = false;
};

// The longest word starting at nStart, at most nMaxLen bytes when that is
// positive; with ScanUnits only the units of overlapping scans take part.
template <int Mode, bool ScanUnits>
_tMatch MatchLongest(const _tArrayView& array, const unsigned char* p, int n, int nStart, int nMaxLen)
{
    _tMatch match;
    int32_t nBase = 0, nCur = -2;
    bool bPrevSpace = false, bPassedSpace = false;
    for (int nPos = nStart; nPos < n;) {
        int nUnitLen = 0;
        int nCode = ReadUnit<Mode>(p, nPos, n, nUnitLen);
        if (nMaxLen > 0 && nPos + nUnitLen - nStart > nMaxLen)
            break;
        if (ScanUnits && !IsScanUnit(nCode))
            break;
        nPos += nUnitLen;
        if (Mode == PDAT_MODE_NAME && nCode == PDAT_SEPARATOR_CODE) {
            if (nCur < 0)
                break;  // a match does not start on a separator
            bPassedSpace = true;
            continue;
        }
        if (nCode <= ' ' && IsPdatWhiteSpace(nCode))
            bPassedSpace = true;
        if (!FoldWhiteSpace(nCode, bPrevSpace))
            continue;
        nCur = StepFrom(array, nBase, nCur, nCode);
        if (nCur < 0)
            break;
        int32_t nStateBase = array.pData[nCur].base;
        if (nStateBase <= 0) {
            match.nLength = nPos - nStart;
            match.nHandle = array.pData[nCur].handle;
            match.bSpansSpace = bPassedSpace;
            if (-nStateBase == nCur)
                break;  // a leaf: nothing goes on from here
        }
        nBase = std::abs(nStateBase);
    }
    return match;
}
