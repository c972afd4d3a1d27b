// Styles are visited in file order and inherit one step from a base defined
// before them, so a base defined later is not used.
#include "Docx/StyleReader.h"

#include <cstdlib>
#include <strings.h>

#include "Docx/XmlScan.h"

int CStyleReader::OutlineLevel(std::string_view sValue)
{
    if (!sValue.empty() && sValue[0] >= '0' && sValue[0] <= '3')
        return sValue[0] - '0' + 1;
    return 0;
}

void CStyleReader::ReadFontName(std::string_view sText, size_t nStart, size_t nLimit,
                                std::string& sFont)
{
    // Only w:rFonts names fonts: a w:lang element also carries w:eastAsia,
    // but its value is a language tag such as "zh-CN".
    static const char* const kNames[] = {"w:eastAsia", "w:ascii", "w:hAnsi"};
    for (const char* sName : kNames) {
        size_t nPos = nStart;
        while ((nPos = FindIn(sText, "<w:rFonts ", nPos, nLimit)) != XML_NPOS) {
            size_t nEnd = FindIn(sText, ">", nPos, nLimit);
            if (nEnd == XML_NPOS)
                nEnd = nLimit;
            std::string sValue;
            if (GetXMLPropertyValue(sText, nPos, sName, sValue, nEnd) != XML_NPOS && !sValue.empty()) {
                sFont = sValue;
                return;
            }
            nPos = nEnd;
        }
    }
}

void CStyleReader::ExtractFont(std::string_view sText, size_t nStart, size_t nLimit,
                               _tParagraph& para, const std::string& sStyleId, bool bStyleMode,
                               const std::map<std::string, _tParagraph>& mapStyles)
{
    std::string sSize, sName;
    if (GetXMLPropertyValue(sText, nStart, "w:sz w:val", sSize, nLimit) == XML_NPOS && !bStyleMode)
        GetXMLPropertyValue(sText, nStart, "w:szCs w:val", sSize, nLimit);
    if (para.font.empty())
        ReadFontName(sText, nStart, nLimit, sName);
    ApplyRunFont(_tRunFont{sSize, sName}, para, sStyleId, mapStyles);
}

void CStyleReader::ApplyRunFont(const _tRunFont& font, _tParagraph& para, const std::string& sStyleId,
                                const std::map<std::string, _tParagraph>& mapStyles)
{
    para.font_size = font.sSize.empty() ? 0 : ValueToInt(font.sSize);
    if (para.font.empty())
        para.font = font.sName;
    if (para.font_size != 0 || sStyleId.empty())
        return;
    auto it = mapStyles.find(sStyleId);
    if (it == mapStyles.end())
        return;
    const _tParagraph& style = it->second;
    para.font_size = style.font_size;
    if (para.font.empty())
        para.font = style.font;
    if (para.level == 0 && style.level >= 1)
        para.level = style.level;
    if (para.numPtr == 0 && style.numPtr >= 1)
        para.numPtr = style.numPtr;
}

int CStyleReader::LevelFromName(std::string_view sText, size_t nStart, size_t nEnd,
                                const std::string& sName)
{
    if (sName.size() >= 8 && strncasecmp(sName.c_str(), "heading ", 8) == 0)
        return ValueToInt(sName.substr(8));
    if (sName.compare(0, 5, "Title") == 0) {
        std::string sAlias;
        GetXMLPropertyValue(sText, nStart, "w:aliases w:val", sAlias, nEnd);
        static const std::string kTitle = "\xE6\xA0\x87\xE9\xA2\x98";  // 标题
        if (sAlias.compare(0, kTitle.size(), kTitle) == 0)
            return ValueToInt(sAlias.substr(kTitle.size()));
    }
    return 0;
}

void CStyleReader::ExtractStyles(std::string_view sText, std::vector<_tParagraph>& vecStyles,
                                 std::map<std::string, _tParagraph>& mapStyles,
                                 std::map<std::string, int>& mapLevels)
{
    static const std::string_view kStyle = "<w:style w:type=\"paragraph\"";
    size_t nPos = 0;
    while ((nPos = FindIn(sText, kStyle, nPos)) != XML_NPOS) {
        size_t nEnd = FindIn(sText, "</w:style>", nPos);
        if (nEnd == XML_NPOS)
            nEnd = sText.size();
        _tParagraph style;
        std::string sId, sName, sBasedOn, sValue;
        GetXMLPropertyValue(sText, nPos, "w:styleId", sId, nEnd);
        GetXMLPropertyValue(sText, nPos, "w:name w:val", sName, nEnd);
        GetXMLPropertyValue(sText, nPos, "w:basedOn w:val", sBasedOn, nEnd);
        if (GetXMLPropertyValue(sText, nPos, "w:numId w:val", sValue, nEnd) != XML_NPOS)
            style.numPtr = ValueToInt(sValue);
        ExtractFont(sText, nPos, nEnd, style, std::string(), true, mapStyles);
        if (GetXMLPropertyValue(sText, nPos, "w:line", sValue, nEnd) != XML_NPOS)
            style.line_space = ValueToInt(sValue);
        style.level = LevelFromName(sText, nPos, nEnd, sName);
        if (style.level == 0 &&
            GetXMLPropertyValue(sText, nPos, "w:outlineLvl w:val", sValue, nEnd) != XML_NPOS)
            style.level = OutlineLevel(sValue);
        auto itBase = sBasedOn.empty() ? mapStyles.end() : mapStyles.find(sBasedOn);
        if (style.font_size == 0 && itBase != mapStyles.end()) {
            const _tParagraph& base = itBase->second;
            style.font_size = base.font_size;
            if (style.font.empty())
                style.font = base.font;
            if (style.level == 0 && base.level > 0)
                style.level = base.level;
            if (style.numPtr == 0 && base.numPtr > 0)
                style.numPtr = base.numPtr;
        }
        if (style.level >= 1 && style.level <= 3 && !sId.empty())
            mapLevels[sId] = style.level;
        style.text = sName;
        if (style.font_size >= 1) {
            vecStyles.push_back(style);
            mapStyles[sId] = style;
        }
        nPos = nEnd;
    }
}
