// Marks in the HTML pages: an insertion mark carries the new text and a
// hint, a deletion mark wraps the text to remove, and cited standards
// become links that ask the page to search for them.
#include "Reviser/DocReviser.h"

#include <algorithm>
#include <cstdio>

#include "Checker/CheckResult.h"
#include "Docx/DocxParser.h"
#include "Reviser/MarkupText.h"
#include "Reviser/ParagraphAddress.h"
#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"

namespace {

const char* const kMarkAuthor = "veskar@localhost";
// 宋体, the font the word processor's pages use for Chinese notes.
const char* const kHintFont = "\xE5\xAE\x8B\xE4\xBD\x93";

// A text inside a single-quoted script string inside a double-quoted attribute.
std::string ScriptArgument(const std::string& sText)
{
    std::string sOut;
    for (char c : sText) {
        if (c == '\\' || c == '\'')
            sOut += '\\';
        sOut += c;
    }
    std::string sEscaped;
    for (char c : sOut)
        sEscaped += c == '"' ? std::string("&quot;") : std::string(1, c);
    return CMarkupText::EscapeText(sEscaped);
}

}  // namespace

int CDocReviser::ShowCheckInHtml(CDocxParser* pParser, CCheckResult* pResult,
                                 const std::vector<_tKeyVal>& vecKeyValues)
{
    if (!pParser || !pResult || pParser->m_vecHtmlText.empty())
        return -1;
    m_pDocParser = pParser;
    m_pCheckResult = pResult;
    m_pPrevDelDoc = nullptr;
    m_sMarkTime = FormatLocalTime("%Y-%m-%dT%H:%M");
    pResult->SortResult();
    const std::vector<_tCheckResult>& vecResults = pResult->Results();
    for (m_nErrIndex = static_cast<int>(vecResults.size()) - 1; m_nErrIndex >= 0; --m_nErrIndex) {
        size_t nIndex = static_cast<size_t>(m_nErrIndex);
        int nPage = PageOf(vecResults[nIndex].para_id);
        pResult->SetPageNum(nIndex, nPage);
        ParagraphRevise(pParser->m_vecHtmlText[static_cast<size_t>(nPage)], vecResults[nIndex], true);
    }
    for (auto it = vecKeyValues.rbegin(); it != vecKeyValues.rend(); ++it)
        ShowStandard(*it);
    m_pCheckResult = nullptr;
    m_pDocParser = nullptr;
    m_pPrevDelDoc = nullptr;
    return 1;
}

int CDocReviser::PageOf(uint32_t nParaId) const
{
    int nLast = static_cast<int>(m_pDocParser->m_vecHtmlText.size()) - 1;
    if (nParaId == 0xFFFFFFFF)
        return nLast;
    return std::min(std::max(m_pDocParser->GetPageNum(nParaId), 0), nLast);
}

std::string CDocReviser::HtmlMarkAttributes(const _tCheckResult& finding) const
{
    char sId[32];
    std::snprintf(sId, sizeof sId, "%08X-%u-", finding.para_id, finding.offset);
    std::string sTime = m_sMarkTime.empty() ? FormatLocalTime("%Y-%m-%dT%H:%M") : m_sMarkTime;
    return "name=\"" + std::string(sId) + CMarkupText::EscapeText(finding.error_id) + "\" cite=\"mailto:" +
           kMarkAuthor + "\" datetime=\"" + sTime + "\"";
}

std::string CDocReviser::HtmlHint(const _tCheckResult& finding, bool bChange) const
{
    std::string sHint = std::string("<span lang=EN-US\r\nstyle='font-size:9.0pt;line-height:150%;font-family:") +
                        kHintFont + ";mso-bidi-font-family:\r\n" + kHintFont + ";color:#00B050'>" +
                        "[\xE6\x8F\x90\xE7\xA4\xBA\xE4\xBF\xA1\xE6\x81\xAF:" +  // 提示信息
                        CMarkupText::EscapeText(finding.error_msg);
    if (bChange && !finding.org_str.empty() && !finding.new_str.empty())
        sHint += "(" + TextNormalize(finding.org_str, true) + "->" + TextNormalize(finding.new_str, true) + ")";
    return sHint + "]</span>";
}

size_t CDocReviser::InsertHtmlText(std::string& sDoc, size_t nPos, const _tCheckResult& finding)
{
    std::string sMark = "<span class=msoIns><ins " + HtmlMarkAttributes(finding) + ">";
    bool bLink = finding.revise_type == REVISE_C && m_pDocParser;
    if (bLink) {
        char sTarget[64];
        std::snprintf(sTarget, sizeof sTarget, "_%d.htm#%08X", PageOf(finding.new_para_id), finding.new_para_id);
        sMark += "<a href=\"" + CMarkupText::EscapeText(LocalToUtf8(m_pDocParser->m_sFilename)) + sTarget + "\">";
    }
    if (finding.field_id == FIELD_TEXT)
        sMark += TextNormalize(finding.new_str, true);
    if (bLink)
        sMark += "</a>";
    sMark += "</ins></span>" + HtmlHint(finding, true);
    nPos = std::min(nPos, sDoc.size());
    sDoc.insert(nPos, sMark);
    return sMark.size();
}

size_t CDocReviser::DelHtmlText(std::string& sDoc, size_t& nStart, size_t nEnd, const _tCheckResult& finding)
{
    bool bSameText = m_pPrevDelDoc == &sDoc && m_nPrevDelEnd > m_nPrevDelStart;
    bool bStartInside = nStart >= m_nPrevDelStart && nStart < m_nPrevDelEnd;
    bool bEndInside = nEnd > m_nPrevDelStart && nEnd <= m_nPrevDelEnd;
    if (bSameText && (bStartInside || bEndInside))
        return 0;
    std::string sClose = "</del></span>";
    if (finding.revise_type == REVISE_D)
        sClose += HtmlHint(finding, false);
    std::string sOpen = "<span class=msoDel><del " + HtmlMarkAttributes(finding) + ">";
    sDoc.insert(nEnd, sClose);
    sDoc.insert(nStart, sOpen);
    m_pPrevDelDoc = &sDoc;
    m_nPrevDelStart = nStart;
    m_nPrevDelEnd = nEnd + sOpen.size() + sClose.size();
    nStart += sOpen.size();
    return sOpen.size() + sClose.size();
}

void CDocReviser::ShowStandard(const _tKeyVal& keyValue)
{
    if (keyValue.key_value.empty() || !m_pDocParser || m_pDocParser->m_vecHtmlText.empty())
        return;
    std::string& sPage = m_pDocParser->m_vecHtmlText[static_cast<size_t>(PageOf(keyValue.para_id))];
    size_t nStart = 0;
    size_t nEnd = 0;
    if (!CParagraphAddress::HtmlBounds(sPage, keyValue.para_id, nStart, nEnd))
        return;
    _tReviseLocation location =
        GetReviseLocation(GetTextSegments(sPage, nStart, nEnd, true), keyValue.offset, keyValue.key_value, true);
    if (!location.found || location.ranges.empty())
        return;
    sPage.insert(location.ranges.back().end, "</a>");
    sPage.insert(location.ranges.front().begin, "<a href=\"javascript:void(0)\" onclick=\"searchRule('" +
                                                    ScriptArgument(keyValue.key_value) + "')\">");
}
