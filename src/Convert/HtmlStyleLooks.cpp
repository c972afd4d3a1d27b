// Paragraph looks from styles.xml and w:pPr, read with the tag walk of the
// document scanner; every search is bounded by its element.
#include "Convert/HtmlStyleLooks.h"

#include <cstdio>

#include "Docx/TagTokenizer.h"
#include "Docx/XmlScan.h"

namespace {

// A chain deeper than any real one (or one that loops) stops here.
constexpr int kMaxChain = 24;

std::optional<int> IntValue(std::string_view sText, const _tTag& tag, std::string_view sAttr)
{
    bool bFound = false;
    std::string_view sValue = tag.Value(sText, sAttr, bFound);
    if (!bFound || sValue.empty())
        return std::nullopt;
    return ValueToInt(sValue);
}

// "<w:b/>" is on; w:val "0", "false" or "off" turns it off.
bool IsOn(std::string_view sText, const _tTag& tag)
{
    bool bFound = false;
    std::string_view sValue = tag.LeadingValue(sText, "w:val", bFound);
    return !bFound || !(sValue == "0" || sValue == "false" || sValue == "off");
}

template <typename T>
void Take(std::optional<T>& target, const std::optional<T>& upper)
{
    if (upper)
        target = upper;
}

std::string Points(const char* sName, double dValue, const char* sUnit)
{
    char sBuf[64];
    std::snprintf(sBuf, sizeof sBuf, "%s:%.1f%s;", sName, dValue, sUnit);
    return sBuf;
}

}  // namespace

void _tParaLook::Overlay(const _tParaLook& upper)
{
    if (!upper.sJc.empty())
        sJc = upper.sJc;
    Take(firstLineChars, upper.firstLineChars);
    Take(firstLine, upper.firstLine);
    Take(hangingChars, upper.hangingChars);
    Take(hanging, upper.hanging);
    Take(leftChars, upper.leftChars);
    Take(left, upper.left);
    Take(before, upper.before);
    Take(after, upper.after);
    Take(bold, upper.bold);
}

void _tParaLook::ReadProperties(std::string_view sXml, size_t nFrom, size_t nTo, _tParaLook& look)
{
    bool bJc = false, bInd = false, bSpacing = false;
    CTagTokenizer tokenizer(sXml, nFrom, nTo);
    _tTag tag;
    while (tokenizer.Next(tag)) {
        if (tag.bClosing)
            continue;
        if (!bJc && tag.sName == "w:jc") {
            bool bFound = false;
            look.sJc = std::string(tag.LeadingValue(sXml, "w:val", bFound));
            bJc = true;
        } else if (!bInd && tag.sName == "w:ind") {
            look.firstLineChars = IntValue(sXml, tag, "w:firstLineChars");
            look.firstLine = IntValue(sXml, tag, "w:firstLine");
            look.hangingChars = IntValue(sXml, tag, "w:hangingChars");
            look.hanging = IntValue(sXml, tag, "w:hanging");
            look.leftChars = IntValue(sXml, tag, "w:leftChars");
            look.left = IntValue(sXml, tag, "w:left");
            if (!look.left)
                look.left = IntValue(sXml, tag, "w:start");
            bInd = true;
        } else if (!bSpacing && tag.sName == "w:spacing") {
            look.before = IntValue(sXml, tag, "w:before");
            look.after = IntValue(sXml, tag, "w:after");
            bSpacing = true;
        }
    }
}

std::string _tParaLook::Css() const
{
    std::string sCss;
    if (sJc == "center")
        sCss += "text-align:center;";
    else if (sJc == "right" || sJc == "end")
        sCss += "text-align:right;";
    else if (sJc == "both" || sJc == "distribute")
        sCss += "text-align:justify;";
    // Indents counted in characters win over those in twips, as in Word.
    if (hangingChars.value_or(0) > 0)
        sCss += Points("text-indent", -*hangingChars / 100.0, "em");
    else if (hanging.value_or(0) > 0)
        sCss += Points("text-indent", -*hanging / 20.0, "pt");
    else if (firstLineChars.value_or(0) != 0)
        sCss += Points("text-indent", *firstLineChars / 100.0, "em");
    else if (firstLine.value_or(0) != 0)
        sCss += Points("text-indent", *firstLine / 20.0, "pt");
    if (leftChars.value_or(0) != 0)
        sCss += Points("margin-left", *leftChars / 100.0, "em");
    else if (left.value_or(0) != 0)
        sCss += Points("margin-left", *left / 20.0, "pt");
    if (before.value_or(0) > 0)
        sCss += Points("margin-top", *before / 20.0, "pt");
    if (after.value_or(0) > 0)
        sCss += Points("margin-bottom", *after / 20.0, "pt");
    if (bold)
        sCss += *bold ? "font-weight:bold;" : "font-weight:normal;";
    return sCss;
}

void CHtmlStyleLooks::Read(std::string_view sStylesXml)
{
    m_mapStyles.clear();
    m_mapResolved.clear();
    m_defaults = _tParaLook();
    m_sDefaultStyle.clear();
    size_t nDefaults = FindIn(sStylesXml, "<w:pPrDefault>", 0);
    if (nDefaults != XML_NPOS) {
        size_t nEnd = FindIn(sStylesXml, "</w:pPrDefault>", nDefaults);
        _tParaLook::ReadProperties(sStylesXml, nDefaults, nEnd == XML_NPOS ? sStylesXml.size() : nEnd,
                                   m_defaults);
    }
    size_t nPos = 0;
    size_t nStart;
    while ((nStart = FindElement(sStylesXml, "<w:style", nPos)) != XML_NPOS) {
        size_t nEnd = FindIn(sStylesXml, "</w:style>", nStart);
        if (nEnd == XML_NPOS)
            nEnd = sStylesXml.size();
        ReadStyle(sStylesXml, nStart, nEnd);
        nPos = nEnd;
        if (nPos < sStylesXml.size())
            ++nPos;
    }
    for (const auto& entry : m_mapStyles)
        m_mapResolved[entry.first] = Resolve(entry.first);
    m_mapResolved[""] = Resolve(m_sDefaultStyle);
}

void CHtmlStyleLooks::ReadStyle(std::string_view sXml, size_t nStart, size_t nEnd)
{
    size_t nTagEnd = FindIn(sXml, ">", nStart, nEnd);
    if (nTagEnd == XML_NPOS)
        return;
    std::string sType, sId, sDefault, sBasedOn;
    GetXMLPropertyValue(sXml, nStart, "w:type", sType, nTagEnd);
    GetXMLPropertyValue(sXml, nStart, "w:styleId", sId, nTagEnd);
    if (sType != "paragraph" || sId.empty())
        return;
    GetXMLPropertyValue(sXml, nStart, "w:default", sDefault, nTagEnd);
    if (sDefault == "1" || sDefault == "true")
        m_sDefaultStyle = sId;
    GetXMLPropertyValue(sXml, nTagEnd, "w:basedOn w:val", sBasedOn, nEnd);
    _tStyle& style = m_mapStyles[sId];
    style.sBasedOn = sBasedOn;
    size_t nPPr = FindElement(sXml, "<w:pPr", nTagEnd, nEnd);
    if (nPPr != XML_NPOS) {
        size_t nPPrEnd = FindIn(sXml, "</w:pPr>", nPPr, nEnd);
        _tParaLook::ReadProperties(sXml, nPPr, nPPrEnd == XML_NPOS ? nEnd : nPPrEnd, style.look);
    }
    size_t nRPr = FindElement(sXml, "<w:rPr", nTagEnd, nEnd);
    if (nRPr == XML_NPOS)
        return;
    size_t nRPrEnd = FindIn(sXml, "</w:rPr>", nRPr, nEnd);
    CTagTokenizer tokenizer(sXml, nRPr, nRPrEnd == XML_NPOS ? nEnd : nRPrEnd);
    _tTag tag;
    while (tokenizer.Next(tag)) {
        if (!tag.bClosing && tag.sName == "w:b") {
            style.look.bold = IsOn(sXml, tag);
            break;
        }
    }
}

_tParaLook CHtmlStyleLooks::Resolve(const std::string& sStyleId) const
{
    // The chain from the style down to its root, applied root first.
    const _tStyle* apChain[kMaxChain];
    int nDepth = 0;
    std::string sId = sStyleId;
    while (nDepth < kMaxChain && !sId.empty()) {
        auto it = m_mapStyles.find(sId);
        if (it == m_mapStyles.end())
            break;
        apChain[nDepth++] = &it->second;
        sId = it->second.sBasedOn;
    }
    _tParaLook look = m_defaults;
    while (nDepth > 0)
        look.Overlay(apChain[--nDepth]->look);
    return look;
}

const _tParaLook& CHtmlStyleLooks::Look(const std::string& sStyleId) const
{
    static const _tParaLook s_none;
    auto it = m_mapResolved.find(sStyleId);
    if (it != m_mapResolved.end())
        return it->second;
    it = m_mapResolved.find("");
    return it == m_mapResolved.end() ? s_none : it->second;
}
