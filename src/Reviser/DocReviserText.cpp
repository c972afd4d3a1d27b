// Text findings: the original text is found among the paragraph's pieces
// and removed, or new text is put before it or in its place. In the pages
// removed text stays, wrapped in deletion marks.
#include "Reviser/DocReviser.h"

#include "Reviser/MarkupText.h"
#include "Reviser/ReviseLocator.h"
#include "Reviser/RunProperties.h"
#include "Utility/Log.h"

namespace {

bool Removes(int nReviseType)
{
    return nReviseType == REVISE_U || nReviseType == REVISE_D || nReviseType == REVISE_C;
}

bool Inserts(int nReviseType)
{
    return nReviseType != REVISE_D;
}

std::string DocumentPart(const _tMarkupPart& part, const std::string& sRPr)
{
    std::string sAlign = CMarkupText::AlignValue(part.tag);
    if (part.tag.empty() || sAlign.empty())
        return CMarkupText::EscapeText(part.tag.empty() ? part.text : "<" + part.tag + ">" + part.text + "</" +
                                                                            part.tag + ">");
    return "</w:t></w:r><w:r>" + CRunProperties::WithAlign(sRPr, sAlign) + "<w:t xml:space=\"preserve\">" +
           CMarkupText::EscapeText(part.text) + "</w:t></w:r><w:r>" + sRPr + "<w:t xml:space=\"preserve\">";
}

std::string HtmlPart(const _tMarkupPart& part)
{
    std::string sAlign = CMarkupText::AlignValue(part.tag);
    if (part.tag.empty() || sAlign.empty())
        return CMarkupText::EscapeText(part.tag.empty() ? part.text : "<" + part.tag + ">" + part.text + "</" +
                                                                            part.tag + ">");
    if (sAlign == "baseline")
        return CMarkupText::EscapeText(part.text);
    std::string sTag = sAlign.substr(0, 3);
    return "<" + sTag + ">" + CMarkupText::EscapeText(part.text) + "</" + sTag + ">";
}

}  // namespace

std::string CDocReviser::TextNormalize(const std::string& sText, bool bHtml, const std::string& sRPr)
{
    std::string sOut;
    for (const _tMarkupPart& part : CMarkupText::Split(sText))
        sOut += bHtml ? HtmlPart(part) : DocumentPart(part, sRPr);
    return sOut;
}

void CDocReviser::TextRevise(std::string& sDoc, size_t nParaStart, size_t& nParaEnd, const _tCheckResult& finding,
                             bool bHtml)
{
    if (finding.org_str.empty())
        return;
    std::vector<_tSegInfo> vecSegs = GetTextSegments(sDoc, nParaStart, nParaEnd, bHtml);
    _tReviseLocation location = GetReviseLocation(vecSegs, finding.offset, finding.org_str, bHtml);
    if (!location.found) {
        SetLastError(finding.org_str + " Cannot locate in the document.");
        m_eOutcome = EOutcome::TextMissing;
        return;
    }
    if (bHtml)
        HtmlTextRevise(sDoc, location, nParaEnd, finding);
    else
        DocTextRevise(sDoc, vecSegs, location, nParaEnd, finding);
}

void CDocReviser::DocTextRevise(std::string& sDoc, const std::vector<_tSegInfo>& vecSegs,
                                const _tReviseLocation& location, size_t& nParaEnd, const _tCheckResult& finding)
{
    std::string sNew;
    if (Inserts(finding.revise_type)) {
        const _tSegInfo& seg = vecSegs[location.insert_seg];
        sNew = TextNormalize(finding.new_str, false, CRunProperties::Of(sDoc, seg.run_start, seg.run_end));
    }
    size_t nInsertAt = location.insert_at;
    if (Removes(finding.revise_type)) {
        for (auto it = location.ranges.rbegin(); it != location.ranges.rend(); ++it) {
            sDoc.erase(it->begin, it->end - it->begin);
            nParaEnd -= it->end - it->begin;
        }
        if (!location.ranges.empty())
            nInsertAt = location.ranges.front().begin;
    }
    sDoc.insert(nInsertAt, sNew);
    nParaEnd += sNew.size();
}

void CDocReviser::HtmlTextRevise(std::string& sDoc, const _tReviseLocation& location, size_t& nParaEnd,
                                 const _tCheckResult& finding)
{
    if (!Removes(finding.revise_type)) {
        nParaEnd += InsertHtmlText(sDoc, location.insert_at, finding);
        return;
    }
    size_t nInserted = 0;
    for (auto it = location.ranges.rbegin(); it != location.ranges.rend(); ++it) {
        size_t nStart = it->begin;
        nInserted += DelHtmlText(sDoc, nStart, it->end, finding);
    }
    nParaEnd += nInserted;
    if (finding.revise_type == REVISE_D)
        return;
    size_t nAfter = (location.ranges.empty() ? location.insert_at : location.ranges.back().end) + nInserted;
    nParaEnd += InsertHtmlText(sDoc, nAfter, finding);
}
