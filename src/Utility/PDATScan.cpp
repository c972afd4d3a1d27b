// Forward maximum-matching segmentation and the scans of a dictionary over
// text: which hits are kept and where scanning goes on after each.
#include "Utility/PDAT.h"

#include <chrono>
#include <cstring>

#include "Utility/FileUtility.h"
#include "Utility/Log.h"
#include "Utility/WordListText.h"

namespace {

// Bytes that end a run of Latin letters and digits kept as one token. Line
// ends count too, so a token never runs from one line into the next.
bool IsLatinBreak(unsigned char c)
{
    return c >= 0x80 || c == '\r' || c == '\n' || (c != 0 && std::strchr(" \t-_,.:/~#%^*()", c) != nullptr);
}

bool IsAsciiLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

// Two single-byte neighbours that belong to one Latin or number run.
bool JoinsRun(unsigned char a, unsigned char b)
{
    return (IsAsciiLetter(a) && IsAsciiLetter(b)) || (IsAsciiDigit(a) && IsAsciiDigit(b));
}

}  // namespace

int CPDAT::MMSegment(const char* sText, std::vector<int>& vecIds, std::string& sOut, bool bAllIds, int nMaxLen,
                     const char* sSep) const
{
    vecIds.clear();
    sOut.clear();
    if (!sText)
        return 0;
    const std::string sSeparator = sSep ? sSep : "";
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    int n = static_cast<int>(std::strlen(sText));
    sOut.reserve(static_cast<size_t>(n) * 6 + 1);
    vecIds.reserve(static_cast<size_t>(n) + 2);
    for (int nPos = 0; nPos < n;) {
        int nHandle = -1;
        bool bSpans = false;
        int nLen = LongestMatch(p, n, nPos, nMaxLen, false, nHandle, bSpans);
        if (nLen > 0) {
            sOut.append(sText + nPos, static_cast<size_t>(nLen)).append(sSeparator);
            vecIds.push_back(nHandle);
            nPos += nLen;
            continue;
        }
        int nUnitLen = 0;
        GetCharCode(sText, nPos, n, nUnitLen);
        int nEnd = nPos + nUnitLen;
        if (nUnitLen == 1 && !IsLatinBreak(p[nPos]))
            while (nEnd < n && !IsLatinBreak(p[nEnd]))
                ++nEnd;
        sOut.append(sText + nPos, static_cast<size_t>(nEnd - nPos)).append(sSeparator);
        if (bAllIds)
            vecIds.push_back(-1);
        nPos = nEnd;
    }
    return static_cast<int>(vecIds.size());
}

const char* CPDAT::MMSegment(const char* sText, int nMaxLen, const char* sSep)
{
    std::vector<int> vecIds;
    MMSegment(sText, vecIds, m_sResult, false, nMaxLen, sSep);
    return m_sResult.c_str();
}

// Length of the last unit of the word at [nStart, nStart + nWordLen).
static int LastUnitLength(const CPDAT& dict, const char* sText, int nLen, int nStart, int nWordLen)
{
    int nLast = 0;
    for (int nPos = nStart; nPos < nStart + nWordLen; nPos += nLast)
        dict.GetCharCode(sText, nPos, nLen, nLast);
    return nLast;
}

// A hit may not start or end inside a run of Latin letters or of digits.
// Only single-byte units count as Latin, so the second byte of a GBK
// character never reads as a letter.
bool CPDAT::IsValidString(const unsigned char* p, int n, int nStart, int nWordLen, int nPrevUnitLen) const
{
    if (nStart > 0 && nPrevUnitLen == 1 && JoinsRun(p[nStart - 1], p[nStart]))
        return false;
    int nEnd = nStart + nWordLen;
    if (nEnd < n && LastUnitLength(*this, reinterpret_cast<const char*>(p), n, nStart, nWordLen) == 1 &&
        JoinsRun(p[nEnd - 1], p[nEnd]))
        return false;
    return true;
}

void CPDAT::MMScanPosition(const char* sText, std::vector<_stTermPosition>& vecHits, int nMode) const
{
    if (!sText)
        return;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText);
    int n = static_cast<int>(std::strlen(sText));
    int nPrevUnitLen = 0;
    for (int nPos = 0; nPos < n;) {
        int nUnitLen = 0;
        GetCharCode(sText, nPos, n, nUnitLen);
        int nHandle = -1;
        bool bSpans = false;
        int nLen = LongestMatch(p, n, nPos, 0, nMode == 1, nHandle, bSpans);
        if (nLen > 0 && (nMode == 2 || IsValidString(p, n, nPos, nLen, nPrevUnitLen))) {
            _stTermPosition hit;
            hit.nHandle = nHandle;
            hit.iStartPos = nPos;
            hit.nWordLen = nLen;
            vecHits.push_back(hit);
            if (nMode != 1) {
                nPrevUnitLen = LastUnitLength(*this, sText, n, nPos, nLen);
                nPos += nLen;
                continue;
            }
        }
        nPrevUnitLen = nUnitLen;
        nPos += nUnitLen;
    }
}

const char* CPDAT::MMScan(const char* sText, bool* pSpansSpace)
{
    std::vector<_stTermPosition> vecHits;
    MMScanPosition(sText, vecHits, 0);
    m_sResult.clear();
    bool bSpans = false;
    for (const _stTermPosition& hit : vecHits) {
        std::string sWord(sText + hit.iStartPos, static_cast<size_t>(hit.nWordLen));
        bSpans = bSpans || sWord.find_first_of(" \t\r\n") != std::string::npos;
        m_sResult += sWord + "\t" + std::to_string(hit.nHandle) + "\n";
    }
    if (pSpansSpace)
        *pSpansSpace = bSpans;
    return m_sResult.c_str();
}

double CPDAT::FileSegment(const char* sInPath, const char* sOutPath)
{
    std::string sOpen, sText;
    if (!sInPath || !sOutPath)
        return 0.0;
    GetAnsiFilename(sInPath, sOpen, false);
    if (!ReadWholeFile(sOpen, sText)) {
        SetLastError("Fail read file " + sOpen);
        return 0.0;
    }
    auto tStart = std::chrono::steady_clock::now();
    std::string sOut, sLineOut;
    std::vector<int> vecIds;
    for (const std::string& sLine : SplitTextLines(sText)) {
        MMSegment(sLine.c_str(), vecIds, sLineOut, false, 0, "\t");
        sOut += sLineOut + "\n";
    }
    if (!WriteFileAtomic(sOutPath, sOut)) {
        SetLastError(std::string("Fail write file ") + sOutPath);
        return 0.0;
    }
    std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - tStart;
    return static_cast<double>(sText.size()) / 1000.0 / std::max(elapsed.count(), 1e-6);
}
