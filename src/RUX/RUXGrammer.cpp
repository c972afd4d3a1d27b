// The pattern grammar. A "^" escapes the character after it wherever the
// parser looks for a delimiter, so an escaped "^" never hides the mark that
// follows it.
#include "RUX/RUXGrammer.h"

#include <cstring>

#include "Utility/Blanks.h"
#include "Utility/EncodingConverter.h"

const char* const kGridOpenMissing =
    "\xb4\xa6\xd3\xa6\xb8\xc3\xce\xaa\xc7\xf8\xb8\xf1\xb5\xc4\xc6\xf0\xca\xbc\xb7\xfb\xba\xcf'{'";
const char* const kGridCloseMissing =
    "\xba\xf3\xc3\xe6\xc8\xb1\xb7\xa6\xc7\xf8\xb8\xf1\xb5\xc4\xbd\xe1\xca\xf8\xb7\xfb\xba\xcf'}'";
const char* const kKGFlagNames[RUX_KG_TYPE_SIZE] = {
    "", "attribute", "showname", "head", "tail", "relation", "keyword", "entity", ""};

namespace {

const char* const kEscapable = "{}[]()^";
const int kMaxNumber = 999999999;

bool IsLatin(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

void TrimTrailingNewlines(std::string& s)
{
    while (!s.empty() && (s.back() == '\r' || s.back() == '\n'))
        s.pop_back();
}

// Decimal digits from nPos (saturating); nPos moves past them.
int ReadNumber(const std::string& s, size_t& nPos)
{
    long long nValue = 0;
    while (nPos < s.size() && IsDigit(s[nPos])) {
        if (nValue < kMaxNumber)
            nValue = nValue * 10 + (s[nPos] - '0');
        ++nPos;
    }
    return nValue > kMaxNumber ? kMaxNumber : static_cast<int>(nValue);
}

// Splits at ";" not escaped by "^"; a trailing empty piece is dropped.
std::vector<std::string> SplitElements(const std::string& s)
{
    std::vector<std::string> vecPieces;
    std::string sCur;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '^' && i + 1 < s.size()) {
            sCur += s[i];
            sCur += s[++i];
        } else if (s[i] == ';') {
            vecPieces.push_back(sCur);
            sCur.clear();
        } else {
            sCur += s[i];
        }
    }
    if (!sCur.empty())
        vecPieces.push_back(sCur);
    return vecPieces;
}

std::string EscapeElement(const std::string& sElem)
{
    std::string sOut;
    for (size_t i = 0; i < sElem.size(); ++i) {
        char c = sElem[i];
        // "^;" is kept as written by the parser, so it prints as written.
        if (c == '^' && i + 1 < sElem.size() && sElem[i + 1] == ';') {
            sOut += "^;";
            ++i;
            continue;
        }
        if (std::strchr(kEscapable, c))
            sOut += '^';
        sOut += c;
    }
    return sOut;
}

std::string StepJoin(int nStep)
{
    return nStep > 1 ? "+" + std::to_string(nStep) + "+" : "+";
}

// The grammar messages are GBK, so the pattern text they quote is too.
std::string ToLocal(const std::string& sText)
{
    if (!IsValidUtf8(sText))
        return sText;
    std::string sGbk;
    Utf8ToGbk(sText, sGbk);  // characters GBK lacks are left out
    return sGbk;
}

// The whole first character: a lone lead byte of a UTF-8 character would
// pair with the GBK message after it and garble the whole message.
std::string FirstCharacter(const std::string& sText)
{
    size_t nLen = sText.empty() ? 0 : 1;
    while (nLen < sText.size() && nLen < 4 && (static_cast<unsigned char>(sText[nLen]) & 0xC0) == 0x80)
        ++nLen;
    return sText.substr(0, nLen);
}

}  // namespace

std::string MessageToUtf8(const std::string& sMessage)
{
    if (IsValidUtf8(sMessage))
        return sMessage;
    std::string sUtf8;
    GbkToUtf8(sMessage, sUtf8);
    return sUtf8;
}

std::string TextStandard(const std::string& sText)
{
    std::string sIn = sText;
    TrimTrailingNewlines(sIn);
    std::string sOut;
    sOut.reserve(sIn.size());
    for (size_t i = 0; i < sIn.size(); ++i) {
        char c = sIn[i];
        if (IsBlank(c)) {
            bool bPrevLatin = !sOut.empty() && IsLatin(sOut.back());
            bool bNextLatin = i + 1 < sIn.size() && IsLatin(sIn[i + 1]);
            if (!bPrevLatin && !bNextLatin)
                continue;
        }
        sOut += c;
    }
    return sOut;
}

std::vector<std::string> SplitString(const std::string& sText, const char* sSeparators)
{
    std::vector<std::string> vecPieces;
    size_t nStart = 0;
    while (nStart <= sText.size()) {
        size_t nEnd = sText.find_first_of(sSeparators, nStart);
        if (nEnd == std::string::npos)
            nEnd = sText.size();
        std::string sPiece = sText.substr(nStart, nEnd - nStart);
        TrimTrailingNewlines(sPiece);
        if (!sPiece.empty())
            vecPieces.push_back(sPiece);
        nStart = nEnd + 1;
    }
    return vecPieces;
}

std::string CompactPattern(const std::string& sText)
{
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size();) {
        if (!IsBlank(sText[i])) {
            sOut += sText[i++];
            continue;
        }
        while (i < sText.size() && IsBlank(sText[i]))
            ++i;
        if (!sOut.empty() && !std::strchr(" +{}[]^", sOut.back()))
            sOut += ' ';
    }
    return sOut;
}

size_t FindUnescaped(const std::string& sText, char ch, size_t nFrom)
{
    for (size_t i = nFrom; i < sText.size(); ++i) {
        if (sText[i] == '^')
            ++i;
        else if (sText[i] == ch)
            return i;
    }
    return std::string::npos;
}

std::string UnitStandard(const std::string& sElement)
{
    std::string sOut;
    for (size_t i = 0; i < sElement.size(); ++i) {
        if (sElement[i] == '^' && i + 1 < sElement.size() && std::strchr(kEscapable, sElement[i + 1])) {
            sOut += sElement[++i];
            continue;
        }
        sOut += sElement[i];
    }
    return sOut;
}

void ParseBlock(const std::string& sBlock, _tBlockOrg& block)
{
    size_t nPos = 0;
    if (nPos < sBlock.size() && sBlock[nPos] == '-') {
        block.is_not = 1;
        ++nPos;
    }
    if (nPos < sBlock.size() && sBlock[nPos] == '(')
        ++nPos;
    size_t nEnd = FindUnescaped(sBlock, ')', nPos);
    if (nEnd == std::string::npos)
        nEnd = sBlock.size();
    for (const std::string& sPiece : SplitElements(sBlock.substr(nPos, nEnd - nPos)))
        block.vecElems.push_back(UnitStandard(sPiece));
}

void ParseGrid(const std::string& sGrid, _tGridOrg& grid)
{
    size_t nOpen = FindUnescaped(sGrid, '[', 0);
    if (nOpen == std::string::npos) {
        grid.vecBlocks.emplace_back();
        ParseBlock(sGrid, grid.vecBlocks.back());
        grid.vecRepeats.push_back(1);
        grid.vecSteps.push_back(-1);
        return;
    }
    while (nOpen != std::string::npos) {
        size_t nClose = FindUnescaped(sGrid, ']', nOpen + 1);
        size_t nBodyEnd = nClose == std::string::npos ? sGrid.size() : nClose;
        grid.vecBlocks.emplace_back();
        ParseBlock(sGrid.substr(nOpen + 1, nBodyEnd - nOpen - 1), grid.vecBlocks.back());
        int nRepeat = 1;
        int nStep = 1;
        if (nClose == std::string::npos) {
            // A block without its "]" runs to the end of the grid.
            grid.vecRepeats.push_back(nRepeat);
            grid.vecSteps.push_back(nStep);
            return;
        }
        size_t nPos = nClose + 1;
        if (nPos < sGrid.size() && IsDigit(sGrid[nPos]))
            nRepeat = ReadNumber(sGrid, nPos);
        if (nPos + 1 < sGrid.size() && sGrid[nPos] == '+' && IsDigit(sGrid[nPos + 1])) {
            ++nPos;
            nStep = ReadNumber(sGrid, nPos);
        }
        grid.vecRepeats.push_back(nRepeat);
        grid.vecSteps.push_back(nStep);
        nOpen = FindUnescaped(sGrid, '[', nClose + 1);
    }
}

int ParseKnowledge(const std::string& sPattern, _tKnowledgeOrg& knowledge, std::string& sError)
{
    knowledge = _tKnowledgeOrg();
    knowledge.text = CompactPattern(sPattern);
    const std::string& t = knowledge.text;
    if (t.empty() || t[0] != '{') {
        sError = ToLocal(FirstCharacter(t)) + kGridOpenMissing;
        return -1;
    }
    size_t nOpen = 0;
    while (true) {
        size_t nClose = FindUnescaped(t, '}', nOpen + 1);
        if (nClose == std::string::npos) {
            sError = ToLocal(t) + kGridCloseMissing;
            return -1;
        }
        _tGridOrg grid;
        ParseGrid(t.substr(nOpen + 1, nClose - nOpen - 1), grid);
        size_t nPos = nClose + 1;
        if (nPos < t.size() && t[nPos] == 's') {
            grid.is_selected = 1;
            ++nPos;
        }
        int nStep = 1;
        if (nPos + 1 < t.size() && IsDigit(t[nPos + 1])) {
            size_t nDigits = nPos + 1;
            nStep = ReadNumber(t, nDigits);
        }
        knowledge.vecGrids.push_back(std::move(grid));
        knowledge.vecSteps.push_back(nStep);
        nOpen = t.find('{', nClose + 1);
        if (nOpen == std::string::npos)
            return 1;
    }
}

void ParseKGSet(const std::string& sText, std::vector<_tField2KG>& vecField2KG,
                std::vector<std::string>& vecKeyname)
{
    for (const std::string& sEntry : SplitString(sText, ";")) {
        // The flags never hold a colon, the field may: a display name such as
        // "date|日期:yyyy" is printed back whole before the flags.
        size_t nColon = sEntry.rfind(':');
        if (nColon == std::string::npos)
            continue;
        _tField2KG kg;
        kg.field_name = sEntry.substr(0, nColon);
        for (const std::string& sFlag : SplitString(sEntry.substr(nColon + 1), ", ")) {
            int nByte = 0;
            switch (sFlag[0]) {
            case 'A': case 'a': nByte = 1; break;
            case 'S': case 's': nByte = 2; break;
            case 'H': case 'h': nByte = 3; break;
            case 'T': case 't': nByte = 4; break;
            case 'R': case 'r': nByte = 5; break;
            case 'K': case 'k': nByte = 6; break;
            case 'E': case 'e': nByte = 7; break;
            default: break;
            }
            if (nByte == 6 && !kg.type[6])
                vecKeyname.push_back(kg.field_name);
            if (nByte)
                kg.type[nByte] = 1;
        }
        vecField2KG.push_back(kg);
    }
}

std::string GetKGSetStr(const std::vector<_tField2KG>& vecField2KG)
{
    std::string sOut;
    for (size_t i = 0; i < vecField2KG.size(); ++i) {
        if (i)
            sOut += ';';
        sOut += vecField2KG[i].field_name + ":";
        for (int nByte = 1; nByte <= 7; ++nByte)
            if (vecField2KG[i].type[nByte])
                sOut += std::string(kKGFlagNames[nByte]) + ",";
    }
    return sOut;
}

bool SplitFormat(const std::string& sText, std::string& sValue, std::string& sFormat)
{
    sValue = sText;
    sFormat.clear();
    size_t nOpen = sText.find(":{");
    if (nOpen == std::string::npos)
        return false;
    size_t nClose = sText.find('}', nOpen + 2);
    if (nClose == std::string::npos)
        return false;
    sValue = sText.substr(0, nOpen);
    sFormat = sText.substr(nOpen + 2, nClose - nOpen - 2);
    return true;
}

bool ExtractAttribute(const std::string& sText, std::string& sAttribute, std::string& sShowName,
                      std::string& sFormat)
{
    size_t nBar = sText.find('|');
    if (nBar == std::string::npos) {
        SplitFormat(sText, sShowName, sFormat);
        sAttribute = sShowName;
    } else {
        sAttribute = sText.substr(0, nBar);
        SplitFormat(sText.substr(nBar + 1), sShowName, sFormat);
    }
    return !sAttribute.empty();
}

std::string GetBlockStr(const _tBlockOrg& block)
{
    std::string sElems;
    for (size_t i = 0; i < block.vecElems.size(); ++i) {
        if (i)
            sElems += ';';
        sElems += EscapeElement(block.vecElems[i]);
    }
    // A plain block whose text begins with "-" or a blank is wrapped, so the
    // "-" is not read as negation and the blank is not compacted away.
    bool bWrap = block.is_not || (!sElems.empty() && (sElems[0] == '-' || sElems[0] == ' '));
    std::string sOut = "[";
    if (block.is_not)
        sOut += '-';
    sOut += bWrap ? "(" + sElems + ")" : sElems;
    return sOut + "]";
}

std::string GetGridStr(const _tGridOrg& grid)
{
    std::string sOut = "{";
    for (size_t b = 0; b < grid.vecBlocks.size(); ++b) {
        sOut += GetBlockStr(grid.vecBlocks[b]);
        int nRepeat = b < grid.vecRepeats.size() ? grid.vecRepeats[b] : 1;
        if (nRepeat == 0 || nRepeat > 1)
            sOut += std::to_string(nRepeat);
        if (b + 1 < grid.vecBlocks.size())
            sOut += StepJoin(b < grid.vecSteps.size() ? grid.vecSteps[b] : 1);
    }
    sOut += "}";
    if (grid.is_selected)
        sOut += "s";
    return sOut;
}

std::string GetKnowledgeStr(const _tKnowledgeOrg& knowledge)
{
    std::string sOut;
    for (size_t g = 0; g < knowledge.vecGrids.size(); ++g) {
        if (g)
            sOut += StepJoin(g - 1 < knowledge.vecSteps.size() ? knowledge.vecSteps[g - 1] : 1);
        sOut += GetGridStr(knowledge.vecGrids[g]);
    }
    return sOut;
}
