// Bounded substring searches over the parts, like the body scanner: each
// element is read within its own span, so a broken part gives fewer
// definitions, never a read past its text.
#include "Docx/NumberingReader.h"

#include "Docx/XmlScan.h"

namespace {

// The next element sTag in [nFrom, nLimit), also when it closes itself at
// once ("<w:isLgl/>").
size_t FindTag(std::string_view sText, std::string_view sTag, size_t nFrom, size_t nLimit)
{
    size_t nPos = nFrom;
    while ((nPos = FindIn(sText, sTag, nPos, nLimit)) != XML_NPOS) {
        size_t nNext = nPos + sTag.size();
        if (nNext < sText.size()) {
            char c = sText[nNext];
            if (c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\r' || c == '\n')
                return nPos;
        }
        nPos = nNext;
    }
    return XML_NPOS;
}

// The span of the next element sTag in [nFrom, nLimit): its start and the
// position of its closing tag (or of its own "/>"). False when none is left.
bool NextElement(std::string_view sText, std::string_view sTag, std::string_view sClose,
                 size_t nFrom, size_t nLimit, size_t& nStart, size_t& nEnd)
{
    nStart = FindTag(sText, sTag, nFrom, nLimit);
    if (nStart == XML_NPOS)
        return false;
    size_t nTagEnd = FindIn(sText, ">", nStart, nLimit);
    if (nTagEnd == XML_NPOS)
        return false;
    if (sText[nTagEnd - 1] == '/') {
        nEnd = nTagEnd;
        return true;
    }
    nEnd = FindMatchingEnd(sText, sTag, sClose, nTagEnd, nLimit);
    if (nEnd == XML_NPOS)
        nEnd = nLimit == XML_NPOS ? sText.size() : nLimit;
    return true;
}

// The attribute sAttr of the first element sTag in [nFrom, nLimit), read
// within that element's own tag.
bool ChildValue(std::string_view sText, std::string_view sTag, std::string_view sAttr, size_t nFrom,
                size_t nLimit, std::string& sValue)
{
    size_t nTag = FindTag(sText, sTag, nFrom, nLimit);
    if (nTag == XML_NPOS)
        return false;
    size_t nTagEnd = FindIn(sText, ">", nTag, nLimit);
    if (nTagEnd == XML_NPOS)
        return false;
    return GetXMLPropertyValue(sText, nTag, sAttr, sValue, nTagEnd) != XML_NPOS;
}

bool ChildVal(std::string_view sText, std::string_view sTag, size_t nFrom, size_t nLimit,
              std::string& sValue)
{
    return ChildValue(sText, sTag, "w:val", nFrom, nLimit, sValue);
}

// An on/off property: present without a value, or with a value other than false/0.
bool ChildFlag(std::string_view sText, std::string_view sTag, size_t nFrom, size_t nLimit)
{
    if (FindTag(sText, sTag, nFrom, nLimit) == XML_NPOS)
        return false;
    std::string sValue;
    if (!ChildVal(sText, sTag, nFrom, nLimit, sValue))
        return true;
    return sValue != "0" && sValue != "false" && sValue != "off";
}

int ChildInt(std::string_view sText, std::string_view sTag, size_t nFrom, size_t nLimit, int nDefault)
{
    std::string sValue;
    return ChildVal(sText, sTag, nFrom, nLimit, sValue) ? ValueToInt(sValue) : nDefault;
}

// The value of an attribute of the element's own start tag.
bool OwnAttr(std::string_view sText, size_t nStart, std::string_view sAttr, std::string& sValue)
{
    size_t nTagEnd = FindIn(sText, ">", nStart);
    return nTagEnd != XML_NPOS && GetXMLPropertyValue(sText, nStart, sAttr, sValue, nTagEnd) != XML_NPOS;
}

}  // namespace

void CNumberingReader::ReadLevel(std::string_view sText, size_t nStart, size_t nEnd, _tListLevel& level)
{
    // The level's own properties come before its w:pPr and w:rPr; a style
    // reference inside them names fonts, not numbers.
    level.nStart = ChildInt(sText, "<w:start", nStart, nEnd, level.nStart);
    std::string sValue;
    if (ChildVal(sText, "<w:numFmt", nStart, nEnd, sValue))
        level.sFormat = sValue;
    if (ChildVal(sText, "<w:lvlText", nStart, nEnd, sValue))
        level.sText = sValue;
    level.nRestart = ChildInt(sText, "<w:lvlRestart", nStart, nEnd, level.nRestart);
    level.bLegal = ChildFlag(sText, "<w:isLgl", nStart, nEnd);
    if (ChildVal(sText, "<w:suff", nStart, nEnd, sValue))
        level.sSuffix = sValue;
    if (ChildVal(sText, "<w:pStyle", nStart, nEnd, sValue))
        level.sStyle = sValue;
}

void CNumberingReader::ReadAbstract(std::string_view sText, size_t nStart, size_t nEnd, _tAbstractList& list)
{
    list.vecLevels.assign(MAX_LEVELS, _tListLevel());
    ChildVal(sText, "<w:numStyleLink", nStart, nEnd, list.sNumStyleLink);
    size_t nPos = nStart, nLvl = 0, nLvlEnd = 0;
    while (NextElement(sText, "<w:lvl", "</w:lvl>", nPos, nEnd, nLvl, nLvlEnd)) {
        std::string sIndex;
        if (OwnAttr(sText, nLvl, "w:ilvl", sIndex)) {
            int nIndex = ValueToInt(sIndex);
            if (nIndex >= 0 && nIndex < MAX_LEVELS)
                ReadLevel(sText, nLvl, nLvlEnd, list.vecLevels[static_cast<size_t>(nIndex)]);
        }
        nPos = nLvlEnd;
    }
}

void CNumberingReader::ReadInstance(std::string_view sText, size_t nStart, size_t nEnd, _tListInstance& num)
{
    num.nAbstract = ChildInt(sText, "<w:abstractNumId", nStart, nEnd, -1);
    size_t nPos = nStart, nOver = 0, nOverEnd = 0;
    while (NextElement(sText, "<w:lvlOverride", "</w:lvlOverride>", nPos, nEnd, nOver, nOverEnd)) {
        std::string sIndex;
        int nIndex = OwnAttr(sText, nOver, "w:ilvl", sIndex) ? ValueToInt(sIndex) : -1;
        if (nIndex >= 0 && nIndex < MAX_LEVELS) {
            std::string sValue;
            if (ChildVal(sText, "<w:startOverride", nOver, nOverEnd, sValue))
                num.mapStartOverride[nIndex] = ValueToInt(sValue);
            size_t nLvl = 0, nLvlEnd = 0;
            if (NextElement(sText, "<w:lvl", "</w:lvl>", nOver, nOverEnd, nLvl, nLvlEnd))
                ReadLevel(sText, nLvl, nLvlEnd, num.mapLevelOverride[nIndex]);
        }
        nPos = nOverEnd;
    }
}

void CNumberingReader::ReadNumbering(std::string_view sText, _tNumberingDefs& defs)
{
    size_t nPos = 0, nStart = 0, nEnd = 0;
    while (NextElement(sText, "<w:abstractNum", "</w:abstractNum>", nPos, XML_NPOS, nStart, nEnd)) {
        std::string sId;
        if (OwnAttr(sText, nStart, "w:abstractNumId", sId))
            ReadAbstract(sText, nStart, nEnd, defs.mapAbstract[ValueToInt(sId)]);
        nPos = nEnd;
    }
    nPos = 0;
    while (NextElement(sText, "<w:num", "</w:num>", nPos, XML_NPOS, nStart, nEnd)) {
        std::string sId;
        if (OwnAttr(sText, nStart, "w:numId", sId))
            ReadInstance(sText, nStart, nEnd, defs.mapInstance[ValueToInt(sId)]);
        nPos = nEnd;
    }
}

void CNumberingReader::ReadStyleLists(std::string_view sText, _tNumberingDefs& defs)
{
    size_t nPos = 0, nStart = 0, nEnd = 0;
    while (NextElement(sText, "<w:style", "</w:style>", nPos, XML_NPOS, nStart, nEnd)) {
        nPos = nEnd;
        std::string sId;
        if (!OwnAttr(sText, nStart, "w:styleId", sId))
            continue;
        _tStyleList style;
        ChildVal(sText, "<w:basedOn", nStart, nEnd, style.sBasedOn);
        size_t nNumPr = 0, nNumPrEnd = 0;
        if (NextElement(sText, "<w:numPr", "</w:numPr>", nStart, nEnd, nNumPr, nNumPrEnd)) {
            style.nNumId = ChildInt(sText, "<w:numId", nNumPr, nNumPrEnd, -1);
            style.nLevel = ChildInt(sText, "<w:ilvl", nNumPr, nNumPrEnd, -1);
        }
        defs.mapStyles[sId] = style;
    }
}
