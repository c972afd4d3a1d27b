// Findings about a paragraph's format, applied to its XML: font names,
// sizes, the heading level and the line spacing. Each change stays inside
// the paragraph, whose end moves with it.
#include "Reviser/DocReviser.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Global/Globals.h"
#include "Utility/Num2FontSize.h"
#include "Utility/XmlText.h"

namespace {

// Replaces every sOld in [nStart, nEnd) by sNew; how many.
size_t ReplaceAll(std::string& sDoc, size_t nStart, size_t& nEnd, const std::string& sOld, const std::string& sNew)
{
    size_t nCount = 0;
    for (size_t nPos = sDoc.find(sOld, nStart); nPos != std::string::npos && nPos + sOld.size() <= nEnd;
         nPos = sDoc.find(sOld, nPos + sNew.size())) {
        sDoc.replace(nPos, sOld.size(), sNew);
        nEnd = nEnd + sNew.size() - sOld.size();
        ++nCount;
    }
    return nCount;
}

size_t FindIn(const std::string& sDoc, const std::string& sWhat, size_t nStart, size_t nEnd)
{
    size_t nPos = sDoc.find(sWhat, nStart);
    return (nPos != std::string::npos && nPos + sWhat.size() <= nEnd) ? nPos : std::string::npos;
}

bool IsNumber(const std::string& sText)
{
    return !sText.empty() && sText.find_first_not_of("0123456789") == std::string::npos;
}

// A level code as the document's outline level: headings 1..9 are 0..8,
// body text 9; -1 for a code without one.
int OutlineLevel(const std::string& sLevel)
{
    if (!IsNumber(sLevel))
        return -1;
    int nLevel = std::atoi(sLevel.c_str());
    if (nLevel == 0)
        return 9;
    return nLevel <= 9 ? nLevel - 1 : -1;
}

std::string OutlineElement(int nOutline)
{
    return "<w:outlineLvl w:val=\"" + std::to_string(nOutline) + "\"/>";
}

std::string StyleElement(const std::string& sStyle)
{
    return "<w:pStyle w:val=\"" + XmlEscape(sStyle) + "\"/>";
}

// Gives the <w:rFonts element at nPos the East Asian font sNew unless it
// names one. A theme font for East Asian text wins over a named one, so it
// gives way to the new name.
void SetEastAsiaFont(std::string& sDoc, size_t nPos, size_t& nEnd, const std::string& sNew)
{
    static const std::string kTheme = " w:eastAsiaTheme=\"";
    size_t nTagEnd = sDoc.find('>', nPos);
    bool bNamed = sDoc.find(" w:eastAsia=\"", nPos) < nTagEnd;
    size_t nTheme = sDoc.find(kTheme, nPos);
    std::string sAttr = " w:eastAsia=\"" + sNew + "\"";
    if (nTheme < nTagEnd) {
        size_t nQuote = sDoc.find('"', nTheme + kTheme.size());
        std::string sBy = bNamed ? "" : sAttr;
        sDoc.replace(nTheme, nQuote + 1 - nTheme, sBy);
        nEnd = nEnd + sBy.size() - (nQuote + 1 - nTheme);
    } else if (!bNamed) {
        sDoc.insert(nPos + 10, sAttr + " ");
        nEnd += sAttr.size() + 1;
    }
}

}  // namespace

void CDocReviser::NotFound(const std::string& sWhat)
{
    g_sLastErrorMessage = "Cannot locate " + sWhat;
    m_eOutcome = EOutcome::NotApplied;
}

void CDocReviser::ReviseFont(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding)
{
    static const std::string kFonts = "<w:rFonts ";
    std::string sNew = XmlEscape(finding.new_str);
    size_t nChanged = 0;
    if (!finding.org_str.empty())
        nChanged = ReplaceAll(sDoc, nStart, nEnd, "\"" + XmlEscape(finding.org_str) + "\"", "\"" + sNew + "\"");
    for (size_t nPos = FindIn(sDoc, kFonts, nStart, nEnd); nPos != std::string::npos;
         nPos = FindIn(sDoc, kFonts, nPos + kFonts.size(), nEnd)) {
        SetEastAsiaFont(sDoc, nPos, nEnd, sNew);
        ++nChanged;
    }
    if (nChanged == 0)
        NotFound(kFonts);
}

int CDocReviser::FontSizeNumber(const std::string& sName) const
{
    int nSize = m_pFontSizes ? m_pFontSizes->GetFontSizeNum(sName.c_str()) : 0;
    if (nSize == 0 && IsNumber(sName))
        nSize = std::atoi(sName.c_str());
    return nSize;
}

// Only the size elements change: another property may hold the same number.
void CDocReviser::ReviseFontSize(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding)
{
    int nOld = FontSizeNumber(finding.org_str);
    int nNew = FontSizeNumber(finding.new_str);
    std::string sOldVal = "w:val=\"" + std::to_string(nOld) + "\"";
    if (nOld <= 0 || nNew <= 0) {
        NotFound(sOldVal);
        return;
    }
    std::string sNewVal = "w:val=\"" + std::to_string(nNew) + "\"";
    size_t nChanged = ReplaceAll(sDoc, nStart, nEnd, "<w:sz " + sOldVal, "<w:sz " + sNewVal) +
                      ReplaceAll(sDoc, nStart, nEnd, "<w:szCs " + sOldVal, "<w:szCs " + sNewVal);
    if (nChanged == 0)
        NotFound(sOldVal);
}

void CDocReviser::ReviseLevel(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding)
{
    const std::string& sOld = finding.org_str;
    const std::string& sNew = finding.new_str;
    if (ReplaceLevelElement(sDoc, nStart, nEnd, StyleElement(sOld), sNew.empty() ? "" : StyleElement(sNew),
                            finding.revise_type))
        return;
    int nOldOutline = OutlineLevel(sOld);
    int nNewOutline = OutlineLevel(sNew);
    if (nOldOutline >= 0 &&
        ReplaceLevelElement(sDoc, nStart, nEnd, OutlineElement(nOldOutline),
                            nNewOutline >= 0 ? OutlineElement(nNewOutline) : "", finding.revise_type))
        return;
    NotFound(StyleElement(sOld));
}

bool CDocReviser::ReplaceLevelElement(std::string& sDoc, size_t nStart, size_t& nEnd, const std::string& sOld,
                                      const std::string& sNew, int nReviseType)
{
    size_t nPos = FindIn(sDoc, sOld, nStart, nEnd);
    if (nPos == std::string::npos)
        return false;
    if (nReviseType == REVISE_U || nReviseType == REVISE_D) {
        sDoc.erase(nPos, sOld.size());
        nEnd -= sOld.size();
    }
    if ((nReviseType == REVISE_U || nReviseType == REVISE_I) && !sNew.empty()) {
        sDoc.insert(nPos, sNew);
        nEnd += sNew.size();
    }
    return true;
}

void CDocReviser::ReviseLineSpace(std::string& sDoc, size_t nStart, size_t& nEnd, const _tCheckResult& finding)
{
    // The finding carries points; w:line counts twentieths of a point.
    long nOld = std::lround(std::strtod(finding.org_str.c_str(), nullptr) * 20);
    long nNew = std::lround(std::strtod(finding.new_str.c_str(), nullptr) * 20);
    std::string sOld = "w:line=\"" + std::to_string(nOld) + "\"";
    size_t nPos = FindIn(sDoc, sOld, nStart, nEnd);
    if (nPos == std::string::npos || nNew <= 0) {
        NotFound(sOld);
        return;
    }
    std::string sNew = "w:line=\"" + std::to_string(nNew) + "\"";
    sDoc.replace(nPos, sOld.size(), sNew);
    nEnd = nEnd + sNew.size() - sOld.size();
}
