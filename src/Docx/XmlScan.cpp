// Every search here is bounded, so a scan of any input stays linear in the
// part it looks at and can never run past its text.
#include "Docx/XmlScan.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// How often each byte shows up in WordprocessingML, on a log scale
// (16 + log2 of its share, measured over the document parts of real theses):
// markup punctuation and the letters of "w:" names are everywhere, upper-case
// letters and most digits are rare.
const unsigned char kByteCommonness[256] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 11, 10, 0, 0, 1, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    11, 1, 12, 5, 1, 1, 5, 1, 1, 1, 1, 5, 2, 5, 4, 11,
    10, 8, 8, 7, 8, 7, 7, 7, 7, 7, 12, 5, 11, 11, 11, 1,
    1, 9, 7, 8, 7, 7, 8, 6, 6, 6, 5, 5, 6, 6, 7, 5,
    9, 6, 8, 6, 7, 5, 5, 6, 5, 5, 5, 1, 1, 1, 0, 2,
    0, 11, 7, 10, 8, 10, 7, 7, 8, 10, 6, 7, 10, 8, 10, 9,
    9, 5, 11, 11, 10, 7, 10, 12, 7, 6, 8, 1, 1, 1, 1, 0,
    4, 3, 3, 2, 4, 3, 3, 4, 4, 3, 3, 8, 4, 3, 3, 4,
    3, 3, 2, 8, 3, 3, 3, 3, 3, 2, 4, 4, 4, 2, 2, 3,
    3, 4, 2, 2, 3, 3, 3, 3, 4, 2, 2, 2, 2, 3, 8, 4,
    3, 2, 1, 3, 2, 1, 3, 3, 4, 3, 4, 4, 4, 8, 3, 3,
    0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 1, 3, 8, 9, 6, 6, 5, 5, 0, 0, 0, 0, 0, 4,
    1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

int ByteCommonness(unsigned char c)
{
    return kByteCommonness[c];
}

// The index of the needle byte least likely in markup: a memchr for it skips
// most of the text, where a search for '<' would stop every few bytes.
size_t RarestByte(std::string_view sNeedle)
{
    size_t nBest = 0;
    for (size_t i = 1; i < sNeedle.size(); ++i) {
        if (ByteCommonness(static_cast<unsigned char>(sNeedle[i])) <
            ByteCommonness(static_cast<unsigned char>(sNeedle[nBest])))
            nBest = i;
    }
    return nBest;
}

}  // namespace

size_t FindIn(std::string_view sText, std::string_view sNeedle, size_t nFrom, size_t nLimit)
{
    if (nFrom >= sText.size() || sNeedle.empty())
        return XML_NPOS;
    size_t nEnd = sText.size();
    if (nLimit != XML_NPOS && nLimit < nEnd)
        nEnd = std::min(sText.size(), nLimit + sNeedle.size() - 1);
    if (nEnd <= nFrom || nEnd - nFrom < sNeedle.size())
        return XML_NPOS;
    size_t nKey = RarestByte(sNeedle);
    const char cKey = sNeedle[nKey];
    const char* pBase = sText.data();
    // Candidates are found by their rarest byte; the match then starts nKey before it.
    const char* pScan = pBase + nFrom + nKey;
    const char* pStop = pBase + nEnd - (sNeedle.size() - nKey - 1);
    while (pScan < pStop) {
        const char* pHit = static_cast<const char*>(std::memchr(pScan, cKey, static_cast<size_t>(pStop - pScan)));
        if (!pHit)
            return XML_NPOS;
        const char* pStart = pHit - nKey;
        if (std::memcmp(pStart, sNeedle.data(), sNeedle.size()) == 0) {
            size_t nPos = static_cast<size_t>(pStart - pBase);
            return (nLimit != XML_NPOS && nPos >= nLimit) ? XML_NPOS : nPos;
        }
        pScan = pHit + 1;
    }
    return XML_NPOS;
}

bool IsElementAt(std::string_view sText, size_t nPos, std::string_view sTag)
{
    if (nPos >= sText.size() || sText.size() - nPos <= sTag.size())
        return false;
    if (sText.compare(nPos, sTag.size(), sTag) != 0)
        return false;
    char c = sText[nPos + sTag.size()];
    return c == ' ' || c == '>' || c == '\t' || c == '\r' || c == '\n';
}

size_t FindElement(std::string_view sText, std::string_view sTag, size_t nFrom, size_t nLimit)
{
    size_t nPos = nFrom;
    while ((nPos = FindIn(sText, sTag, nPos, nLimit)) != XML_NPOS) {
        if (IsElementAt(sText, nPos, sTag))
            return nPos;
        nPos += sTag.size();
    }
    return XML_NPOS;
}

size_t FindMatchingEnd(std::string_view sText, std::string_view sOpenTag,
                       std::string_view sCloseTag, size_t nFrom, size_t nLimit)
{
    int nDepth = 0;
    size_t nPos = nFrom;
    for (;;) {
        size_t nClose = FindIn(sText, sCloseTag, nPos, nLimit);
        if (nClose == XML_NPOS)
            return XML_NPOS;
        size_t nOpen = FindElement(sText, sOpenTag, nPos, nClose);
        if (nOpen != XML_NPOS) {
            ++nDepth;
            nPos = nOpen + sOpenTag.size();
            continue;
        }
        if (nDepth == 0)
            return nClose;
        --nDepth;
        nPos = nClose + sCloseTag.size();
    }
}

size_t GetXMLPropertyValue(std::string_view sText, size_t nFrom, std::string_view sName,
                           std::string& sValue, size_t nLimit)
{
    sValue.clear();
    std::string sNeedle(sName);
    sNeedle += "=\"";
    size_t nPos = FindIn(sText, sNeedle, nFrom, nLimit);
    if (nPos == XML_NPOS)
        return XML_NPOS;
    size_t nValue = nPos + sNeedle.size();
    size_t nQuote = sText.find('"', nValue);
    if (nQuote == XML_NPOS)
        return XML_NPOS;
    sValue.assign(sText.substr(nValue, nQuote - nValue));
    return nQuote;
}

size_t GetXMLItemValue(std::string_view sText, std::string_view sTag, std::string& sValue,
                       size_t nFrom, size_t nLimit)
{
    sValue.clear();
    std::string sOpen = "<" + std::string(sTag) + ">";
    std::string sClose = "</" + std::string(sTag) + ">";
    size_t nStart = FindIn(sText, sOpen, nFrom, nLimit);
    if (nStart == XML_NPOS)
        return XML_NPOS;
    nStart += sOpen.size();
    size_t nEnd = FindIn(sText, sClose, nStart, nLimit);
    if (nEnd == XML_NPOS)
        return XML_NPOS;
    sValue.assign(sText.substr(nStart, nEnd - nStart));
    return nEnd + sClose.size();
}

int ValueToInt(std::string_view sValue)
{
    // Up to nine digits cannot overflow; signs, blanks and the rest go to atoi.
    if (!sValue.empty() && sValue.size() <= 9) {
        int nValue = 0;
        for (char c : sValue) {
            if (c < '0' || c > '9')
                return std::atoi(std::string(sValue).c_str());
            nValue = nValue * 10 + (c - '0');
        }
        return nValue;
    }
    return std::atoi(std::string(sValue).c_str());
}
