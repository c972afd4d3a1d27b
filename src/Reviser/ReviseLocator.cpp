// Runs are "<w:r" followed by a blank or ">" up to their "</w:r>"; every
// text element of a run is one piece, so a run broken by a line break
// still shows all its text.
#include "Reviser/ReviseLocator.h"

#include <algorithm>

#include "Reviser/MarkupText.h"
#include "Utility/Blanks.h"
#include "Utility/StrLocate.h"

namespace {

bool IsNameEnd(char c)
{
    return c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\r' || c == '\n';
}

// The next start of element sName ("<w:r", "<w:t") in [nFrom, nEnd).
size_t FindElement(const std::string& sDoc, const char* sName, size_t nNameLen, size_t nFrom, size_t nEnd)
{
    for (size_t nPos = sDoc.find(sName, nFrom); nPos != std::string::npos && nPos < nEnd;
         nPos = sDoc.find(sName, nPos + 1)) {
        if (nPos + nNameLen < sDoc.size() && IsNameEnd(sDoc[nPos + nNameLen]) && sDoc[nPos + nNameLen] != '/')
            return nPos;
    }
    return std::string::npos;
}

// Real bytes of each piece that are not blanks, before each hay byte.
std::vector<size_t> CountedPrefix(const std::vector<_tSegInfo>& vecSegs, size_t nHaySize)
{
    std::vector<size_t> vecCount;
    vecCount.reserve(nHaySize + 1);
    size_t nCount = 0;
    for (const _tSegInfo& seg : vecSegs) {
        for (size_t i = 0; i < seg.text.size(); ++i) {
            vecCount.push_back(nCount);
            bool bReal = i >= seg.prefix && i < seg.prefix + seg.RealLength();
            if (bReal && !IsBlank(seg.text[i]))
                ++nCount;
        }
    }
    vecCount.push_back(nCount);
    return vecCount;
}

size_t Distance(size_t a, size_t b)
{
    return a > b ? a - b : b - a;
}

}  // namespace

std::vector<_tSegInfo> CReviseLocator::GetTextSegments(const std::string& sDoc, size_t nStart, size_t nEnd,
                                                       bool bHtml)
{
    std::vector<_tSegInfo> vecSegs;
    nEnd = std::min(nEnd, sDoc.size());
    if (bHtml) {
        AddHtmlSegments(sDoc, nStart, nEnd, vecSegs);
        return vecSegs;
    }
    for (size_t nRun = FindElement(sDoc, "<w:r", 4, nStart, nEnd); nRun != std::string::npos;) {
        size_t nRunEnd = sDoc.find("</w:r>", nRun);
        if (nRunEnd == std::string::npos || nRunEnd >= nEnd)
            break;
        AddRunSegments(sDoc, nRun, nRunEnd + 6, vecSegs);
        nRun = FindElement(sDoc, "<w:r", 4, nRunEnd, nEnd);
    }
    return vecSegs;
}

std::string CReviseLocator::RunAlignment(const std::string& sDoc, size_t nRun, size_t nRunEnd)
{
    static const std::string kAlign = "<w:vertAlign w:val=\"";
    size_t nPropsEnd = sDoc.find("</w:rPr>", nRun);
    if (nPropsEnd == std::string::npos || nPropsEnd > nRunEnd)
        return "";
    size_t nPos = sDoc.find(kAlign, nRun);
    if (nPos == std::string::npos || nPos > nPropsEnd)
        return "";
    nPos += kAlign.size();
    size_t nQuote = sDoc.find('"', nPos);
    return nQuote < nPropsEnd ? sDoc.substr(nPos, nQuote - nPos) : "";
}

void CReviseLocator::AddRunSegments(const std::string& sDoc, size_t nRun, size_t nRunEnd,
                                    std::vector<_tSegInfo>& vecSegs)
{
    std::string sAlign = RunAlignment(sDoc, nRun, nRunEnd);
    for (size_t nElem = FindElement(sDoc, "<w:t", 4, nRun, nRunEnd); nElem != std::string::npos;
         nElem = FindElement(sDoc, "<w:t", 4, nElem + 4, nRunEnd)) {
        size_t nOpenEnd = sDoc.find('>', nElem);
        if (nOpenEnd == std::string::npos || nOpenEnd >= nRunEnd)
            return;
        if (sDoc[nOpenEnd - 1] == '/')
            continue;  // <w:t/>: no text
        size_t nClose = sDoc.find('<', nOpenEnd + 1);
        size_t nElemEnd = sDoc.find("</w:t>", nOpenEnd);
        if (nClose == std::string::npos || nElemEnd == std::string::npos || nElemEnd >= nRunEnd)
            return;
        if (nClose == nOpenEnd + 1)
            continue;
        _tSegInfo seg;
        seg.start = nOpenEnd + 1;
        seg.run_start = nRun;
        seg.run_end = nRunEnd;
        seg.elem_start = nElem;
        seg.elem_end = nElemEnd + 6;
        std::string sText = sDoc.substr(nOpenEnd + 1, nClose - nOpenEnd - 1);
        if (sAlign.empty()) {
            seg.text = sText;
        } else {
            seg.text = "<" + sAlign + ">" + sText + "</" + sAlign + ">";
            seg.prefix = sAlign.size() + 2;
            seg.length_ignore = 2 * sAlign.size() + 5;
        }
        vecSegs.push_back(std::move(seg));
    }
}

void CReviseLocator::AddHtmlSegments(const std::string& sDoc, size_t nStart, size_t nEnd,
                                     std::vector<_tSegInfo>& vecSegs)
{
    for (size_t nPos = nStart; nPos < nEnd;) {
        size_t nGt = sDoc.find('>', nPos);
        if (nGt == std::string::npos || nGt >= nEnd)
            return;
        size_t nLt = std::min(sDoc.find('<', nGt + 1), nEnd);
        if (nLt > nGt + 1) {
            _tSegInfo seg;
            seg.start = nGt + 1;
            seg.text = sDoc.substr(nGt + 1, nLt - nGt - 1);
            vecSegs.push_back(std::move(seg));
        }
        nPos = nLt;
    }
}

_tReviseLocation CReviseLocator::GetReviseLocation(const std::vector<_tSegInfo>& vecSegs, size_t nOffset,
                                                   const std::string& sOrg, bool bHtml)
{
    std::string sHay;
    std::vector<size_t> vecSegStart;
    for (const _tSegInfo& seg : vecSegs) {
        vecSegStart.push_back(sHay.size());
        sHay += seg.text;
    }
    std::string sNeedle = bHtml ? CMarkupText::WithoutAlignTags(sOrg) : sOrg;
    std::vector<_tStrHit> vecHits = StrLocateAll(sHay, sNeedle);
    if (vecHits.empty())
        return {};
    std::vector<size_t> vecCount = CountedPrefix(vecSegs, sHay.size());
    const _tStrHit* pBest = &vecHits[0];
    for (const _tStrHit& hit : vecHits) {
        if (Distance(vecCount[hit.nStart], nOffset) < Distance(vecCount[pBest->nStart], nOffset))
            pBest = &hit;
    }
    return MapHit(vecSegs, vecSegStart, pBest->nStart, pBest->nEnd);
}

_tReviseLocation CReviseLocator::MapHit(const std::vector<_tSegInfo>& vecSegs, const std::vector<size_t>& vecSegStart,
                                        size_t nHitStart, size_t nHitEnd)
{
    _tReviseLocation location;
    location.found = true;
    bool bFirst = true;
    for (size_t k = 0; k < vecSegs.size(); ++k) {
        const _tSegInfo& seg = vecSegs[k];
        size_t nSegStart = vecSegStart[k];
        size_t nSegEnd = nSegStart + seg.text.size();
        if (nSegEnd <= nHitStart || nSegStart >= nHitEnd)
            continue;
        size_t nRealEnd = seg.prefix + seg.RealLength();
        auto real = [&](size_t nHay) {
            size_t nLocal = std::min(std::max(nHay, nSegStart) - nSegStart, seg.text.size());
            return std::min(std::max(nLocal, seg.prefix), nRealEnd) - seg.prefix + seg.start;
        };
        if (bFirst) {
            location.insert_seg = k;
            location.insert_at = real(nHitStart);
            bFirst = false;
        }
        size_t nBegin = real(nHitStart);
        size_t nEnd = real(nHitEnd);
        if (nEnd > nBegin)
            location.ranges.push_back({k, nBegin, nEnd});
    }
    return location;
}
