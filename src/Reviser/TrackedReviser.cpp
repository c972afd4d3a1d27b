// Revision marks and comments share one id sequence that starts above every
// id already in the document and its comments, so no mark collides with a
// bookmark, an earlier revision or an earlier comment.
#include "Reviser/TrackedReviser.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "Reviser/MarkupText.h"
#include "Reviser/ParagraphAddress.h"
#include "Reviser/ReviseLocator.h"
#include "Reviser/RunProperties.h"
#include "Reviser/WindowedRevision.h"
#include "Utility/Log.h"

namespace {

constexpr uint32_t kDocumentLevel = 0xFFFFFFFF;

std::string UtcNow()
{
    std::time_t now = std::time(nullptr);
    std::tm utc {};
    gmtime_r(&now, &utc);
    char sBuf[32];
    std::strftime(sBuf, sizeof sBuf, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return sBuf;
}

std::string TextElement(const std::string& sDoc, size_t nBegin, size_t nEnd)
{
    if (nEnd <= nBegin)
        return "";
    return "<w:t xml:space=\"preserve\">" + sDoc.substr(nBegin, nEnd - nBegin) + "</w:t>";
}

const char* FieldLabel(int nField)
{
    switch (nField) {
    case FIELD_FONT: return "字体";
    case FIELD_FONTSIZE: return "字号";
    case FIELD_TEXT: return "文字";
    case FIELD_LEVEL: return "级别";
    case FIELD_LINE_SPACE: return "行距（磅）";
    default: return "内容";
    }
}

}  // namespace

CTrackedReviser::CTrackedReviser(const std::string& sFolder, std::string sDoc)
    : m_sDoc(std::move(sDoc)), m_comments(sFolder), m_sDate(UtcNow())
{
    m_nNextId = std::max(CCommentsPart::MaxIdIn(m_sDoc), m_comments.MaxId()) + 1;
}

std::vector<std::string> CTrackedReviser::CommentLines(const _tCheckResult& finding)
{
    std::vector<std::string> vecLines;
    vecLines.push_back(finding.error_msg + (finding.error_id.empty() ? "" : " [" + finding.error_id + "]"));
    std::string sLabel = FieldLabel(finding.field_id);
    std::string sOrg = CMarkupText::WithoutAlignTags(finding.org_str);
    std::string sNew = CMarkupText::WithoutAlignTags(finding.new_str);
    if (!sOrg.empty() && !sNew.empty())
        vecLines.push_back(sLabel + "：" + sOrg + " → 应为：" + sNew);
    else if (!sNew.empty())
        vecLines.push_back(sLabel + "应为：" + sNew);
    else if (!sOrg.empty())
        vecLines.push_back(sLabel + "：" + sOrg + (finding.revise_type == REVISE_D ? "（应删除）" : ""));
    return vecLines;
}

bool CTrackedReviser::Apply(const std::vector<_tCheckResult>& vecResults, _tReviseReport& report)
{
    std::vector<const _tCheckResult*> vecDocumentLevel;
    CWindowedRevision windows(m_sDoc);
    for (auto it = vecResults.rbegin(); it != vecResults.rend(); ++it) {
        if (it->para_id == kDocumentLevel) {
            vecDocumentLevel.insert(vecDocumentLevel.begin(), &*it);
            continue;
        }
        if (it->org_str.empty() && it->new_str.empty()) {
            ++report.nApplied;  // nothing to change or to say
            continue;
        }
        if (!windows.Apply(*it, [&](std::string& sWindow, const _tCheckResult& relative) {
                ApplyOne(sWindow, relative, report);
            })) {
            char sBuf[96];
            std::snprintf(sBuf, sizeof sBuf, "Cannot locate para ending with offset = %8X", it->para_id);
            SetLastError(sBuf);
            ++report.nParaMissing;
        }
    }
    windows.Finish();
    CommentDocument(vecDocumentLevel, report);
    m_mapParts["word/document.xml"] = std::move(m_sDoc);
    return m_comments.Finish(m_mapParts, m_sError);
}

// Last, since they change the first paragraph and so move every later one.
void CTrackedReviser::CommentDocument(const std::vector<const _tCheckResult*>& vecFindings, _tReviseReport& report)
{
    size_t nFirst = CParagraphAddress::FirstBodyParagraph(m_sDoc);
    CWindowedRevision windows(m_sDoc);
    for (const _tCheckResult* pFinding : vecFindings) {
        _tCheckResult anchored = *pFinding;
        anchored.para_id = static_cast<uint32_t>(nFirst + 3);
        bool bDone = false;
        if (nFirst != CParagraphAddress::NPOS) {
            windows.Apply(anchored, [&](std::string& sWindow, const _tCheckResult& relative) {
                bDone = Comment(sWindow, CParagraphAddress::DocStart(sWindow, relative.para_id), *pFinding);
            });
        }
        ++(bDone ? report.nDocumentLevel : report.nNotApplied);
    }
    windows.Finish();
}

void CTrackedReviser::ApplyOne(std::string& sDoc, const _tCheckResult& finding, _tReviseReport& report)
{
    size_t nStart = CParagraphAddress::DocStart(sDoc, finding.para_id);
    bool bText = finding.field_id == FIELD_TEXT && !finding.org_str.empty();
    if (bText && ApplyText(sDoc, nStart, finding)) {
        ++report.nApplied;
        return;
    }
    if (bText)
        SetLastError(finding.org_str + " Cannot locate in the document.");
    if (!Comment(sDoc, nStart, finding))
        ++report.nNotApplied;
    else if (bText)
        ++report.nTextMissing;
    else
        ++report.nCommented;
}

std::string CTrackedReviser::ChangeAttributes()
{
    return " w:id=\"" + std::to_string(m_nNextId++) + "\" w:author=\"veskar\" w:date=\"" + m_sDate + "\"";
}

std::string CTrackedReviser::Deleted(const std::string& sText, const std::string& sRPr)
{
    return "<w:del" + ChangeAttributes() + "><w:r>" + sRPr + "<w:delText xml:space=\"preserve\">" + sText +
           "</w:delText></w:r></w:del>";
}

std::string CTrackedReviser::Inserted(const std::string& sText, const std::string& sRPr)
{
    std::string sRuns;
    for (const _tMarkupPart& part : CMarkupText::Split(sText)) {
        std::string sAlign = CMarkupText::AlignValue(part.tag);
        bool bAligned = !part.tag.empty() && !sAlign.empty();
        std::string sPart = part.tag.empty() || bAligned ? part.text : "<" + part.tag + ">" + part.text + "</" +
                                                                        part.tag + ">";
        if (sPart.empty())
            continue;
        sRuns += "<w:r>" + CRunProperties::WithAlign(sRPr, bAligned ? sAlign : "") +
                 "<w:t xml:space=\"preserve\">" + CMarkupText::EscapeText(sPart) + "</w:t></w:r>";
    }
    return sRuns.empty() ? "" : "<w:ins" + ChangeAttributes() + ">" + sRuns + "</w:ins>";
}

void CTrackedReviser::SplitRun(std::string& sDoc, const _tSegInfo& seg, size_t nBegin, size_t nEnd,
                               const std::string& sMiddle)
{
    size_t nTextEnd = seg.start + seg.RealLength();
    std::string sRPr = CRunProperties::Of(sDoc, seg.run_start, seg.run_end);
    std::string sSplit = TextElement(sDoc, seg.start, nBegin) + "</w:r>" + sMiddle +
                         CRunProperties::StartTag(sDoc, seg.run_start) + sRPr + TextElement(sDoc, nEnd, nTextEnd);
    sDoc.replace(seg.elem_start, seg.elem_end - seg.elem_start, sSplit);
}

bool CTrackedReviser::ApplyText(std::string& sDoc, size_t nParaStart, const _tCheckResult& finding)
{
    size_t nParaEnd = CParagraphAddress::DocEnd(sDoc, nParaStart);
    std::vector<_tSegInfo> vecSegs = CReviseLocator::GetTextSegments(sDoc, nParaStart, nParaEnd, false);
    _tReviseLocation location = CReviseLocator::GetReviseLocation(vecSegs, finding.offset, finding.org_str, false);
    if (!location.found)
        return false;
    const _tSegInfo& host = vecSegs[location.insert_seg];
    std::string sHostRPr = CRunProperties::Of(sDoc, host.run_start, host.run_end);
    int nType = finding.revise_type;
    bool bRemoves = nType == REVISE_U || nType == REVISE_D || nType == REVISE_C;
    // Ids are handed out first to last, so the insertion follows its deletions.
    std::vector<std::string> vecMiddles;
    for (const _tPieceRange& range : location.ranges) {
        if (bRemoves) {
            const _tSegInfo& seg = vecSegs[range.seg];
            vecMiddles.push_back(Deleted(sDoc.substr(range.begin, range.end - range.begin),
                                         CRunProperties::Of(sDoc, seg.run_start, seg.run_end)));
        }
    }
    std::string sInsert = nType == REVISE_D ? "" : Inserted(finding.new_str, sHostRPr);
    if (!bRemoves || location.ranges.empty()) {
        SplitRun(sDoc, host, location.insert_at, location.insert_at, sInsert);
        return true;
    }
    vecMiddles.back() += sInsert;
    for (size_t i = location.ranges.size(); i-- > 0;) {
        const _tPieceRange& range = location.ranges[i];
        SplitRun(sDoc, vecSegs[range.seg], range.begin, range.end, vecMiddles[i]);
    }
    return true;
}

bool CTrackedReviser::Comment(std::string& sDoc, size_t nParaStart, const _tCheckResult& finding)
{
    size_t nEnd = nParaStart == CParagraphAddress::NPOS ? nParaStart : CParagraphAddress::DocOwnEnd(sDoc, nParaStart);
    if (nEnd == CParagraphAddress::NPOS)
        return false;
    long long nId = m_nNextId++;
    std::string sId = std::to_string(nId);
    std::string sStart = "<w:commentRangeStart w:id=\"" + sId + "\"/>";
    std::string sClose = "<w:commentRangeEnd w:id=\"" + sId + "\"/><w:r><w:commentReference w:id=\"" + sId +
                         "\"/></w:r>";
    if (sDoc.compare(nEnd, 2, "/>") == 0) {
        sDoc.replace(nEnd, 2, ">" + sStart + sClose + "</w:p>");
    } else {
        size_t nContent = CParagraphAddress::DocContentStart(sDoc, nParaStart);
        if (nContent == CParagraphAddress::NPOS || nContent > nEnd)
            return false;
        sDoc.insert(nEnd, sClose);
        sDoc.insert(nContent, sStart);
    }
    m_comments.Add(nId, CommentLines(finding), m_sDate);
    return true;
}
