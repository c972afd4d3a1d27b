#include "Reviser/ParagraphAddress.h"

#include <algorithm>
#include <cstdio>

namespace {

bool IsNameEnd(char c)
{
    return c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\r' || c == '\n';
}

// The next paragraph start tag or paragraph end tag at or after nFrom.
size_t NextParagraphTag(const std::string& sDoc, size_t nFrom, bool& bOpen)
{
    for (size_t nPos = sDoc.find("<w:p", nFrom); nPos != std::string::npos; nPos = sDoc.find("<w:p", nPos + 1)) {
        if (CParagraphAddress::IsParagraphTag(sDoc, nPos)) {
            size_t nClose = sDoc.find("</w:p>", nFrom);
            bOpen = nClose == std::string::npos || nPos < nClose;
            return bOpen ? nPos : nClose;
        }
    }
    bOpen = false;
    return sDoc.find("</w:p>", nFrom);
}

// The "/" of a self-closing start tag at nStart, NPOS for an open one.
size_t SelfClosing(const std::string& sDoc, size_t nStart)
{
    size_t nTagEnd = sDoc.find('>', nStart);
    if (nTagEnd == std::string::npos)
        return std::string::npos;
    return sDoc[nTagEnd - 1] == '/' ? nTagEnd - 1 : std::string::npos;
}

}  // namespace

bool CParagraphAddress::IsParagraphTag(const std::string& sDoc, size_t nPos)
{
    return nPos + 4 < sDoc.size() && sDoc.compare(nPos, 4, "<w:p") == 0 && IsNameEnd(sDoc[nPos + 4]);
}

size_t CParagraphAddress::DocStart(const std::string& sDoc, uint32_t nParaId)
{
    if (nParaId >= 3 && IsParagraphTag(sDoc, nParaId - 3))
        return nParaId - 3;
    if (IsParagraphTag(sDoc, nParaId))
        return nParaId;
    return NPOS;
}

size_t CParagraphAddress::DocEnd(const std::string& sDoc, size_t nStart)
{
    size_t nSelf = SelfClosing(sDoc, nStart);
    if (nSelf != std::string::npos)
        return nSelf;
    size_t nEnd = sDoc.find("</w:p>", nStart);
    return nEnd == std::string::npos ? NPOS : nEnd;
}

size_t CParagraphAddress::DocOwnEnd(const std::string& sDoc, size_t nStart)
{
    size_t nSelf = SelfClosing(sDoc, nStart);
    if (nSelf != std::string::npos)
        return nSelf;
    int nDepth = 1;
    for (size_t nPos = nStart + 4;;) {
        bool bOpen = false;
        nPos = NextParagraphTag(sDoc, nPos, bOpen);
        if (nPos == std::string::npos)
            return NPOS;
        if (bOpen) {
            if (SelfClosing(sDoc, nPos) == std::string::npos)
                ++nDepth;
            nPos += 4;
            continue;
        }
        if (--nDepth == 0)
            return nPos;
        nPos += 6;
    }
}

size_t CParagraphAddress::DocContentStart(const std::string& sDoc, size_t nStart)
{
    size_t nTagEnd = sDoc.find('>', nStart);
    if (nTagEnd == std::string::npos)
        return NPOS;
    size_t nContent = nTagEnd + 1;
    if (sDoc.compare(nContent, 6, "<w:pPr") != 0 || nContent + 6 >= sDoc.size() || !IsNameEnd(sDoc[nContent + 6]))
        return nContent;
    size_t nSelf = SelfClosing(sDoc, nContent);
    size_t nPropsTag = sDoc.find('>', nContent);
    if (nSelf != std::string::npos && nSelf + 1 == nPropsTag)
        return nPropsTag + 1;
    // A record of a tracked paragraph change holds a <w:pPr> of its own.
    size_t nClose = sDoc.find("</w:pPr>", nContent);
    size_t nChange = sDoc.find("<w:pPrChange", nContent);
    if (nChange != std::string::npos && nClose != std::string::npos && nChange < nClose) {
        size_t nChangeEnd = sDoc.find("</w:pPrChange>", nChange);
        nClose = nChangeEnd == std::string::npos ? nChangeEnd : sDoc.find("</w:pPr>", nChangeEnd);
    }
    return nClose == std::string::npos ? NPOS : nClose + 8;
}

size_t CParagraphAddress::FirstBodyParagraph(const std::string& sDoc)
{
    size_t nBody = sDoc.find("<w:body");
    if (nBody == std::string::npos)
        return NPOS;
    for (size_t nPos = sDoc.find("<w:p", nBody); nPos != std::string::npos; nPos = sDoc.find("<w:p", nPos + 1)) {
        if (IsParagraphTag(sDoc, nPos) && SelfClosing(sDoc, nPos) == std::string::npos)
            return nPos;
    }
    return NPOS;
}

bool CParagraphAddress::HtmlBounds(const std::string& sPage, uint32_t nParaId, size_t& nStart, size_t& nEnd)
{
    char sName[32];
    std::snprintf(sName, sizeof sName, " name=\"%08X\" ", nParaId);
    size_t nName = sPage.find(sName);
    if (nName == std::string::npos)
        return false;
    size_t nOpen = sPage.rfind('<', nName);
    nStart = nOpen == std::string::npos ? nName : nOpen;
    nEnd = std::min({sPage.find("</p>", nName), sPage.find("</h", nName), sPage.size()});
    return true;
}
