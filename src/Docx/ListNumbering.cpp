// Counters are kept per abstract list, as Word keeps them: list instances
// that share an abstract list continue one another, and an instance with a
// start override restarts a level the first time it is used at that level
// (an item list that restarts leaves the chapters it shares a list with alone).
#include "Docx/ListNumbering.h"

#include "Utility/ChineseNumeral.h"

namespace {

constexpr int kMaxStyleDepth = 16;  // basedOn chains are short; a cycle must end

void AppendCodePoint(std::string& sOut, unsigned nCode)
{
    if (nCode < 0x80) {
        sOut += static_cast<char>(nCode);
    } else if (nCode < 0x800) {
        sOut += static_cast<char>(0xC0 | (nCode >> 6));
        sOut += static_cast<char>(0x80 | (nCode & 0x3F));
    } else {
        sOut += static_cast<char>(0xE0 | (nCode >> 12));
        sOut += static_cast<char>(0x80 | ((nCode >> 6) & 0x3F));
        sOut += static_cast<char>(0x80 | (nCode & 0x3F));
    }
}

std::string Roman(int nValue, bool bUpper)
{
    static const int kValues[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
    static const char* const kUpper[] = {"M", "CM", "D", "CD", "C", "XC", "L", "XL", "X", "IX", "V", "IV", "I"};
    static const char* const kLower[] = {"m", "cm", "d", "cd", "c", "xc", "l", "xl", "x", "ix", "v", "iv", "i"};
    std::string sOut;
    for (size_t i = 0; i < 13 && nValue > 0; ++i) {
        while (nValue >= kValues[i]) {
            sOut += bUpper ? kUpper[i] : kLower[i];
            nValue -= kValues[i];
        }
    }
    return sOut;
}

// A, B, ... Z, AA, BB, ...: Word repeats the letter past Z.
std::string Letters(int nValue, bool bUpper)
{
    if (nValue <= 0)
        return std::to_string(nValue);
    char c = static_cast<char>((bUpper ? 'A' : 'a') + (nValue - 1) % 26);
    return std::string(static_cast<size_t>((nValue - 1) / 26 + 1), c);
}

// A value from a cycle of characters (甲乙丙 ..., 子丑寅 ...), from 1.
std::string Cycle(int nValue, const char* const* pChars, int nCount)
{
    if (nValue <= 0)
        return std::to_string(nValue);
    return pChars[(nValue - 1) % nCount];
}

// A value from a run of enclosed characters starting at nFirst for 1; past
// the run the value is written in digits.
std::string Enclosed(int nValue, unsigned nFirst, int nCount)
{
    if (nValue < 1 || nValue > nCount)
        return std::to_string(nValue);
    std::string sOut;
    AppendCodePoint(sOut, nFirst + static_cast<unsigned>(nValue - 1));
    return sOut;
}

std::string DigitByDigit(int nValue, bool bFullWidth)
{
    static const char* const kIdeo[] = {"\xE3\x80\x87", "\xE4\xB8\x80", "\xE4\xBA\x8C", "\xE4\xB8\x89",
                                        "\xE5\x9B\x9B", "\xE4\xBA\x94", "\xE5\x85\xAD", "\xE4\xB8\x83",
                                        "\xE5\x85\xAB", "\xE4\xB9\x9D"};  // 〇一二三四五六七八九
    std::string sOut;
    for (char c : std::to_string(nValue)) {
        if (c < '0' || c > '9')
            sOut += c;
        else if (bFullWidth)
            AppendCodePoint(sOut, 0xFF10u + static_cast<unsigned>(c - '0'));
        else
            sOut += kIdeo[c - '0'];
    }
    return sOut;
}

std::string Suffix(const std::string& sSuffix)
{
    if (sSuffix == "space")
        return " ";
    if (sSuffix == "nothing")
        return std::string();
    return "\t";
}

}  // namespace

std::string CListNumbering::FormatValue(int nValue, const std::string& sFormat)
{
    static const char* const kStems[] = {"\xE7\x94\xB2", "\xE4\xB9\x99", "\xE4\xB8\x99", "\xE4\xB8\x81",
                                         "\xE6\x88\x8A", "\xE5\xB7\xB1", "\xE5\xBA\x9A", "\xE8\xBE\x9B",
                                         "\xE5\xA3\xAC", "\xE7\x99\xB8"};  // 甲乙丙丁戊己庚辛壬癸
    static const char* const kBranches[] = {"\xE5\xAD\x90", "\xE4\xB8\x91", "\xE5\xAF\x85", "\xE5\x8D\xAF",
                                            "\xE8\xBE\xB0", "\xE5\xB7\xB3", "\xE5\x8D\x88", "\xE6\x9C\xAA",
                                            "\xE7\x94\xB3", "\xE9\x85\x89", "\xE6\x88\x8C", "\xE4\xBA\xA5"};
    if (sFormat == "none" || sFormat == "bullet")
        return std::string();
    if (sFormat == "decimalZero")
        return (nValue >= 0 && nValue < 10 ? "0" : "") + std::to_string(nValue);
    if (sFormat == "upperRoman" || sFormat == "lowerRoman")
        return nValue > 0 ? Roman(nValue, sFormat[0] == 'u') : std::to_string(nValue);
    if (sFormat == "upperLetter" || sFormat == "lowerLetter")
        return Letters(nValue, sFormat[0] == 'u');
    if (sFormat.compare(0, 15, "chineseCounting") == 0 || sFormat.compare(0, 16, "japaneseCounting") == 0 ||
        sFormat.compare(0, 17, "taiwaneseCounting") == 0 || sFormat == "chineseLegalSimplified" ||
        sFormat == "ideographLegalTraditional") {
        std::string sOut;
        bool bUpper = sFormat == "chineseLegalSimplified" || sFormat == "ideographLegalTraditional";
        Integer2Str(nValue, sOut, bUpper, true);
        return sOut;
    }
    if (sFormat == "ideographTraditional")
        return Cycle(nValue, kStems, 10);
    if (sFormat == "ideographZodiac")
        return Cycle(nValue, kBranches, 12);
    if (sFormat == "ideographDigital" || sFormat == "taiwaneseDigital")
        return DigitByDigit(nValue, false);
    if (sFormat == "decimalFullWidth" || sFormat == "decimalFullWidth2")
        return DigitByDigit(nValue, true);
    if (sFormat == "decimalEnclosedCircle" || sFormat == "decimalEnclosedCircleChinese")
        return Enclosed(nValue, 0x2460, 20);  // ① .. ⑳
    if (sFormat == "decimalEnclosedParen")
        return Enclosed(nValue, 0x2474, 20);  // ⑴ .. ⒇
    if (sFormat == "decimalEnclosedFullstop")
        return Enclosed(nValue, 0x2488, 20);  // ⒈ .. ⒛
    if (sFormat == "ideographEnclosedCircle")
        return Enclosed(nValue, 0x3220, 10);  // ㈠ .. ㈩
    return std::to_string(nValue);
}

void CListNumbering::Clear()
{
    m_defs = _tNumberingDefs();
    m_mapCounters.clear();
    m_setInstanceLevelUsed.clear();
}

void CListNumbering::ReadNumbering(std::string_view sText)
{
    CNumberingReader::ReadNumbering(sText, m_defs);
}

void CListNumbering::ReadStyles(std::string_view sText)
{
    CNumberingReader::ReadStyleLists(sText, m_defs);
}

int CListNumbering::AbstractOf(int nNumId) const
{
    auto it = m_defs.mapInstance.find(nNumId);
    if (it == m_defs.mapInstance.end())
        return -1;
    int nAbstract = it->second.nAbstract;
    auto itAbstract = m_defs.mapAbstract.find(nAbstract);
    if (itAbstract == m_defs.mapAbstract.end())
        return -1;
    // A list that only links to a numbering style takes that style's list.
    const std::string& sLink = itAbstract->second.sNumStyleLink;
    if (sLink.empty())
        return nAbstract;
    auto itStyle = m_defs.mapStyles.find(sLink);
    if (itStyle == m_defs.mapStyles.end())
        return nAbstract;
    auto itLinked = m_defs.mapInstance.find(itStyle->second.nNumId);
    if (itLinked == m_defs.mapInstance.end() || !m_defs.mapAbstract.count(itLinked->second.nAbstract))
        return nAbstract;
    return itLinked->second.nAbstract;
}

const _tListLevel* CListNumbering::LevelOf(int nNumId, int nLevel) const
{
    auto it = m_defs.mapInstance.find(nNumId);
    if (it != m_defs.mapInstance.end()) {
        auto itOver = it->second.mapLevelOverride.find(nLevel);
        if (itOver != it->second.mapLevelOverride.end())
            return &itOver->second;
    }
    auto itAbstract = m_defs.mapAbstract.find(AbstractOf(nNumId));
    if (itAbstract == m_defs.mapAbstract.end() || nLevel < 0 ||
        static_cast<size_t>(nLevel) >= itAbstract->second.vecLevels.size())
        return nullptr;
    return &itAbstract->second.vecLevels[static_cast<size_t>(nLevel)];
}

bool CListNumbering::Resolve(const _tParaList& own, const std::string& sStyleId, int& nNumId, int& nLevel) const
{
    nNumId = own.nNumId;
    nLevel = own.nLevel;
    // Each list property comes from the paragraph, else from the nearest
    // style of its basedOn chain that sets it.
    std::string sStyle = sStyleId;
    for (int nDepth = 0; nDepth < kMaxStyleDepth && !sStyle.empty(); ++nDepth) {
        auto it = m_defs.mapStyles.find(sStyle);
        if (it == m_defs.mapStyles.end())
            break;
        if (nNumId < 0)
            nNumId = it->second.nNumId;
        if (nLevel < 0)
            nLevel = it->second.nLevel;
        sStyle = it->second.sBasedOn;
    }
    if (nNumId <= 0)  // numId 0 switches a style's numbering off
        return false;
    if (nLevel < 0) {
        // A level may name the style that takes it.
        nLevel = 0;
        auto itAbstract = m_defs.mapAbstract.find(AbstractOf(nNumId));
        if (itAbstract != m_defs.mapAbstract.end() && !sStyleId.empty()) {
            const std::vector<_tListLevel>& vecLevels = itAbstract->second.vecLevels;
            for (size_t i = 0; i < vecLevels.size(); ++i) {
                if (vecLevels[i].sStyle == sStyleId) {
                    nLevel = static_cast<int>(i);
                    break;
                }
            }
        }
    }
    return nLevel < CNumberingReader::MAX_LEVELS;
}

int CListNumbering::StartOf(const _tCounters& counters, int nNumId, int nLevel) const
{
    auto it = counters.mapStart.find(nLevel);
    if (it != counters.mapStart.end())
        return it->second;
    const _tListLevel* pLevel = LevelOf(nNumId, nLevel);
    return pLevel ? pLevel->nStart : 1;
}

std::string CListNumbering::Render(const _tCounters& counters, int nNumId, int nLevel) const
{
    const _tListLevel* pLevel = LevelOf(nNumId, nLevel);
    if (!pLevel || pLevel->sFormat == "bullet")
        return std::string();
    const std::string& sText = pLevel->sText;
    std::string sOut;
    for (size_t i = 0; i < sText.size(); ++i) {
        if (sText[i] != '%' || i + 1 >= sText.size() || sText[i + 1] < '1' || sText[i + 1] > '9') {
            sOut += sText[i];
            continue;
        }
        int k = sText[++i] - '1';
        int nValue = counters.vecValue[static_cast<size_t>(k)];
        if (nValue < 0)  // a level not used yet shows its start value
            nValue = StartOf(counters, nNumId, k);
        const _tListLevel* pRef = LevelOf(nNumId, k);
        std::string sFormat = pRef ? pRef->sFormat : "decimal";
        if (pLevel->bLegal && sFormat != "none")
            sFormat = "decimal";
        sOut += FormatValue(nValue, sFormat);
    }
    if (sOut.empty())
        return sOut;
    return sOut + Suffix(pLevel->sSuffix);
}

std::string CListNumbering::Next(const _tParaList& own, const std::string& sStyleId)
{
    int nNumId = -1, nLevel = -1;
    if (m_defs.mapInstance.empty() || !Resolve(own, sStyleId, nNumId, nLevel))
        return std::string();
    int nAbstract = AbstractOf(nNumId);
    if (nAbstract < 0 || !LevelOf(nNumId, nLevel))
        return std::string();
    _tCounters& counters = m_mapCounters[nAbstract];
    if (m_setInstanceLevelUsed.insert({nNumId, nLevel}).second) {
        const std::map<int, int>& mapOverride = m_defs.mapInstance[nNumId].mapStartOverride;
        auto it = mapOverride.find(nLevel);
        if (it != mapOverride.end()) {
            counters.mapStart[nLevel] = it->second;
            counters.vecValue[static_cast<size_t>(nLevel)] = -1;
        }
    }
    int& nValue = counters.vecValue[static_cast<size_t>(nLevel)];
    nValue = nValue < 0 ? StartOf(counters, nNumId, nLevel) : nValue + 1;
    // Lower levels start again after a higher one, unless their restart
    // value says otherwise (0 never; n only after levels 1 .. n).
    for (int k = nLevel + 1; k < CNumberingReader::MAX_LEVELS; ++k) {
        const _tListLevel* pLower = LevelOf(nNumId, k);
        int nRestart = pLower ? pLower->nRestart : -1;
        if (nRestart < 0 || (nRestart > 0 && nLevel < nRestart))
            counters.vecValue[static_cast<size_t>(k)] = -1;
    }
    return Render(counters, nNumId, nLevel);
}
