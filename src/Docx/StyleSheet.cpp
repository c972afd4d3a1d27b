// Styles are folded once when read, so a run costs one map lookup per
// style it names and one overlay per level.
#include "Docx/StyleSheet.h"

#include <set>
#include <vector>

#include "Docx/TagTokenizer.h"
#include "Docx/XmlScan.h"

namespace {

// Deeper than any chain a word processor writes; a longer one is broken.
constexpr int kMaxChain = 64;

const char* const kFontAttrs[FONT_SLOTS] = {"w:ascii", "w:eastAsia", "w:hAnsi"};
const char* const kThemeAttrs[FONT_SLOTS] = {"w:asciiTheme", "w:eastAsiaTheme", "w:hAnsiTheme"};

std::string ReadValue(std::string_view sText, const _tTag& tag, std::string_view sAttr)
{
    bool bFound = false;
    return std::string(tag.Value(sText, sAttr, bFound));
}

// The range of an element's own properties: a table style's conditional
// formats (w:tblStylePr) hold properties of their own that apply elsewhere.
size_t OwnPropsEnd(std::string_view sText, size_t nStart, size_t nEnd)
{
    size_t nCond = FindIn(sText, "<w:tblStylePr", nStart, nEnd);
    return nCond == XML_NPOS ? nEnd : nCond;
}

}  // namespace

void _tRunProps::Overlay(const _tRunProps& upper)
{
    for (int i = 0; i < FONT_SLOTS; ++i) {
        if (upper.fonts[i].Stated())
            fonts[i] = upper.fonts[i];
    }
    if (upper.nSize > 0)
        nSize = upper.nSize;
}

void _tLineProps::Overlay(const _tLineProps& upper)
{
    if (upper.nLine > 0)
        nLine = upper.nLine;
    if (!upper.sLineRule.empty())
        sLineRule = upper.sLineRule;
}

void CStyleSheet::ReadFontTag(std::string_view sText, const _tTag& tag, _tRunProps& props)
{
    for (int i = 0; i < FONT_SLOTS; ++i) {
        _tFontChoice choice{ReadValue(sText, tag, kFontAttrs[i]), ReadValue(sText, tag, kThemeAttrs[i])};
        if (choice.Stated())
            props.fonts[i] = choice;
    }
}

void CStyleSheet::ReadRunProps(std::string_view sText, size_t nStart, size_t nEnd, _tRunProps& props)
{
    CTagTokenizer tokenizer(sText, nStart, nEnd);
    _tTag tag;
    bool bFonts = false, bSize = false;
    while ((!bFonts || !bSize) && tokenizer.Next(tag)) {
        if (tag.bClosing)
            continue;
        if (!bFonts && tag.sName == "w:rFonts") {
            bFonts = true;
            ReadFontTag(sText, tag, props);
        } else if (!bSize && tag.sName == "w:sz") {
            bSize = true;
            int nSize = ValueToInt(ReadValue(sText, tag, "w:val"));
            if (nSize > 0)
                props.nSize = nSize;
        }
    }
}

void CStyleSheet::ReadLineProps(std::string_view sText, size_t nStart, size_t nEnd, _tLineProps& props)
{
    CTagTokenizer tokenizer(sText, nStart, nEnd);
    _tTag tag;
    while (tokenizer.Next(tag)) {
        if (tag.bClosing || tag.sName != "w:spacing")
            continue;
        bool bLine = false, bRule = false;
        std::string_view sLine = tag.Value(sText, "w:line", bLine);
        std::string_view sRule = tag.Value(sText, "w:lineRule", bRule);
        if (!bLine && !bRule)
            continue;  // a run's character spacing, or spacing before and after only
        if (bLine && ValueToInt(sLine) > 0)
            props.nLine = ValueToInt(sLine);
        if (bRule)
            props.sLineRule = std::string(sRule);
        return;
    }
}

void CStyleSheet::Clear()
{
    m_defaults = _tMerged();
    m_mapStyles.clear();
    m_mapMerged.clear();
    m_sDefaultParagraph.clear();
    m_sDefaultCharacter.clear();
    m_theme.Clear();
}

void CStyleSheet::ReadStyles(std::string_view sText)
{
    m_defaults = _tMerged();
    m_mapStyles.clear();
    m_sDefaultParagraph.clear();
    m_sDefaultCharacter.clear();
    size_t nDefaults = FindIn(sText, "<w:docDefaults>", 0);
    if (nDefaults != XML_NPOS) {
        size_t nEnd = FindIn(sText, "</w:docDefaults>", nDefaults);
        if (nEnd == XML_NPOS)
            nEnd = sText.size();
        size_t nRun = FindIn(sText, "<w:rPrDefault", nDefaults, nEnd);
        size_t nPara = FindIn(sText, "<w:pPrDefault", nDefaults, nEnd);
        if (nRun != XML_NPOS)
            ReadRunProps(sText, nRun, nPara != XML_NPOS && nPara > nRun ? nPara : nEnd, m_defaults.run);
        if (nPara != XML_NPOS)
            ReadLineProps(sText, nPara, nRun != XML_NPOS && nRun > nPara ? nRun : nEnd, m_defaults.line);
    }
    for (size_t nPos = 0; (nPos = FindIn(sText, "<w:style ", nPos)) != XML_NPOS;) {
        size_t nEnd = FindIn(sText, "</w:style>", nPos);
        if (nEnd == XML_NPOS)
            nEnd = sText.size();
        ReadStyle(sText, nPos, nEnd);
        nPos = nEnd;
    }
    MergeChains();
}

void CStyleSheet::ReadStyle(std::string_view sText, size_t nStart, size_t nEnd)
{
    CTagTokenizer tokenizer(sText, nStart, nEnd);
    _tTag tag;
    if (!tokenizer.Next(tag))
        return;
    std::string sId = ReadValue(sText, tag, "w:styleId");
    std::string sType = ReadValue(sText, tag, "w:type");
    bool bDefault = ReadValue(sText, tag, "w:default") == "1";
    if (sId.empty())
        return;
    _tStyleDef& style = m_mapStyles[sId];
    style = _tStyleDef();
    style.bParagraph = sType == "paragraph";
    if (bDefault && style.bParagraph && m_sDefaultParagraph.empty())
        m_sDefaultParagraph = sId;
    if (bDefault && sType == "character" && m_sDefaultCharacter.empty())
        m_sDefaultCharacter = sId;
    size_t nOwnEnd = OwnPropsEnd(sText, nStart, nEnd);
    GetXMLPropertyValue(sText, nStart, "w:basedOn w:val", style.sBasedOn, nOwnEnd);
    ReadRunProps(sText, tag.nEnd, nOwnEnd, style.run);
    ReadLineProps(sText, tag.nEnd, nOwnEnd, style.line);
}

void CStyleSheet::MergeChains()
{
    m_mapMerged.clear();
    for (const auto& entry : m_mapStyles) {
        std::vector<const _tStyleDef*> vecChain;
        std::set<std::string> setSeen;
        std::string sId = entry.first;
        while (static_cast<int>(vecChain.size()) < kMaxChain && setSeen.insert(sId).second) {
            auto it = m_mapStyles.find(sId);
            if (it == m_mapStyles.end())
                break;
            vecChain.push_back(&it->second);
            sId = it->second.sBasedOn;
        }
        _tMerged merged = entry.second.bParagraph ? m_defaults : _tMerged();
        for (auto it = vecChain.rbegin(); it != vecChain.rend(); ++it) {
            merged.run.Overlay((*it)->run);
            merged.line.Overlay((*it)->line);
        }
        m_mapMerged[entry.first] = merged;
    }
}

void CStyleSheet::ReadTheme(std::string_view sThemeXml, std::string_view sLanguage)
{
    m_theme.Read(sThemeXml, CThemeFonts::ScriptOfLanguage(sLanguage));
}

const CStyleSheet::_tMerged& CStyleSheet::ParagraphStyle(const std::string& sStyleId) const
{
    // An unknown style shows as the default paragraph style, as in Word.
    for (const std::string* pId : {&sStyleId, &m_sDefaultParagraph}) {
        auto itStyle = m_mapStyles.find(*pId);
        if (itStyle != m_mapStyles.end() && itStyle->second.bParagraph)
            return m_mapMerged.at(*pId);
    }
    return m_defaults;
}

const _tRunProps* CStyleSheet::StyleRun(const std::string& sStyleId) const
{
    auto it = m_mapMerged.find(sStyleId);
    return it == m_mapMerged.end() ? nullptr : &it->second.run;
}

const std::string& CStyleSheet::SlotFont(const _tFontChoice& choice) const
{
    if (!choice.sTheme.empty()) {
        const std::string& sFont = m_theme.Font(choice.sTheme);
        if (!sFont.empty())
            return sFont;
    }
    return choice.sName;
}

_tRunFormat CStyleSheet::ResolveRun(const std::string& sParaStyle, const std::string& sRunStyle,
                                    const _tRunProps& own) const
{
    _tRunProps props = ParagraphStyle(sParaStyle).run;
    const std::string& sCharStyle = sRunStyle.empty() ? m_sDefaultCharacter : sRunStyle;
    auto itStyle = m_mapStyles.find(sCharStyle);
    // A paragraph style's folded properties carry the defaults under them,
    // which would hide the paragraph's own style: only character styles.
    if (itStyle != m_mapStyles.end() && !itStyle->second.bParagraph)
        props.Overlay(m_mapMerged.at(sCharStyle).run);
    props.Overlay(own);
    _tRunFormat format;
    for (int i = 0; i < FONT_SLOTS; ++i)
        format.sFonts[i] = SlotFont(props.fonts[i]);
    format.nSize = props.nSize;
    return format;
}

_tLineProps CStyleSheet::ResolveLine(const std::string& sParaStyle, const _tLineProps& own) const
{
    _tLineProps line = ParagraphStyle(sParaStyle).line;
    line.Overlay(own);
    return line;
}
