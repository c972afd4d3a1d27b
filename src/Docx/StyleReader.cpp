// Styles are visited in file order and, for listing and levels, inherit
// one step from a base defined before them, so a base defined later is not
// used there; their formats come from the whole chain.
#include "Docx/StyleReader.h"

#include <cstdlib>
#include <strings.h>

#include "Docx/StyleSheet.h"
#include "Docx/XmlScan.h"

int CStyleReader::OutlineLevel(std::string_view sValue)
{
    if (!sValue.empty() && sValue[0] >= '0' && sValue[0] <= '3')
        return sValue[0] - '0' + 1;
    return 0;
}

std::string CStyleReader::StyleFont(const std::string* pFonts)
{
    for (int nSlot : {FONT_EAST_ASIA, FONT_ASCII, FONT_HANSI}) {
        if (!pFonts[nSlot].empty())
            return pFonts[nSlot];
    }
    return std::string();
}

void CStyleReader::ApplySheet(const CStyleSheet& sheet, const std::string& sId, _tParagraph& style)
{
    _tRunFormat format = sheet.ResolveRun(sId, std::string(), _tRunProps());
    style.font = StyleFont(format.sFonts);
    if (format.nSize > 0)
        style.font_size = format.nSize;
    _tLineProps line = sheet.ResolveLine(sId, _tLineProps());
    style.line_space = line.nLine;
    style.line_rule = LineRule::FromName(line.sLineRule);
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

void CStyleReader::ExtractStyles(std::string_view sText, const CStyleSheet& sheet,
                                 std::vector<_tParagraph>& vecStyles,
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
        if (GetXMLPropertyValue(sText, nPos, "w:sz w:val", sValue, nEnd) != XML_NPOS)
            style.font_size = ValueToInt(sValue);
        style.level = LevelFromName(sText, nPos, nEnd, sName);
        if (style.level == 0 &&
            GetXMLPropertyValue(sText, nPos, "w:outlineLvl w:val", sValue, nEnd) != XML_NPOS)
            style.level = OutlineLevel(sValue);
        auto itBase = sBasedOn.empty() ? mapStyles.end() : mapStyles.find(sBasedOn);
        if (style.font_size == 0 && itBase != mapStyles.end()) {
            const _tParagraph& base = itBase->second;
            style.font_size = base.font_size;
            if (style.level == 0 && base.level > 0)
                style.level = base.level;
            if (style.numPtr == 0 && base.numPtr > 0)
                style.numPtr = base.numPtr;
        }
        if (style.level >= 1 && style.level <= 3 && !sId.empty())
            mapLevels[sId] = style.level;
        style.text = sName;
        if (style.font_size >= 1) {
            ApplySheet(sheet, sId, style);
            vecStyles.push_back(style);
            mapStyles[sId] = style;
        }
        nPos = nEnd;
    }
}
