// One format template: learning from samples, reading and writing its text.
#include "Docx/DocFormat.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string_view>

#include "Docx/SampleStructure.h"
#include "Utility/Blanks.h"
#include "Utility/EncodingConverter.h"
#include "Utility/Log.h"
#include "Utility/NumUtility.h"
#include "Utility/PDAT.h"
#include "Utility/WordList.h"

namespace {

const std::pair<int, const char*> kLevelNames[] = {
    {DocLevel::TEXT, "TEXT"},
    {DocLevel::TITLE1, "TITLE1"},
    {DocLevel::TITLE2, "TITLE2"},
    {DocLevel::TITLE3, "TITLE3"},
    {DocLevel::TITLE4, "TITLE4"},
    {DocLevel::CONTENT1, "CONTENT1"},
    {DocLevel::CONTENT2, "CONTENT2"},
    {DocLevel::CONTENT3, "CONTENT3"},
    {DocLevel::FIRSTPAGES, "FIRSTPAGES"},
    {DocLevel::TABLE_COL, "TABLE_COL"},
    {DocLevel::TABLE_CAPTION, "TABLE_CAPTION"},
    {DocLevel::FIGURE_CAPTION, "FIGURE_CAPTION"},
    {DocLevel::TXTBOX, "TXTBOX"},
    {DocLevel::HEADER, "HEADER"},
    {DocLevel::FOOTER, "FOOTER"},
    {DocLevel::ABSTRACT_CAPTION_CN, "ABSTRACT_CAPTION_CN"},
    {DocLevel::ABSTRACT_TEXT_CN, "ABSTRACT_TEXT_CN"},
    {DocLevel::ABSTRACT_KEYWORD_CN, "ABSTRACT_KEYWORD_CN"},
    {DocLevel::ABSTRACT_CAPTION_EN, "ABSTRACT_CAPTION_EN"},
    {DocLevel::ABSTRACT_TEXT_EN, "ABSTRACT_TEXT_EN"},
    {DocLevel::ABSTRACT_KEYWORD_EN, "ABSTRACT_KEYWORD_EN"},
    {DocLevel::REFERENCE_CAPTION, "REFERENCE_CAPTION"},
    {DocLevel::REFERENCE_TEXT, "REFERENCE_TEXT"},
    {DocLevel::ACKNOWLEDGE_CAPTION, "ACKNOWLEDGE_CAPTION"},
    {DocLevel::FORMULA_INDEX, "FORMULA_INDEX"},
    {DocLevel::AUTHOR, "AUTHOR"},
    {DocLevel::MAJOR, "MAJOR"},
    {DocLevel::SUPERVISOR, "SUPERVISOR"},
};

// The text between <name> and </name> inside [pBegin, pEnd); false when the
// element does not start there. An element without its end runs to pEnd.
bool ElementText(std::string_view sBlock, const char* sName, std::string_view& sOut)
{
    std::string sOpen = std::string("<") + sName + ">";
    std::string sClose = std::string("</") + sName + ">";
    size_t nStart = sBlock.find(sOpen);
    if (nStart == std::string_view::npos)
        return false;
    nStart += sOpen.size();
    size_t nEnd = sBlock.find(sClose, nStart);
    if (nEnd == std::string_view::npos)
        nEnd = sBlock.size();
    sOut = sBlock.substr(nStart, nEnd - nStart);
    return true;
}

int ToInt(std::string_view sText, int nDefault)
{
    std::string s(Trim(sText));
    if (s.empty())
        return nDefault;
    char* pEnd = nullptr;
    long long n = std::strtoll(s.c_str(), &pEnd, 10);
    if (pEnd == s.c_str())
        return nDefault;
    return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}

// "key:count;key:count;" pairs; a pair without a colon is ignored.
template <typename Fn>
void ForEachPair(std::string_view sList, Fn fnPair)
{
    size_t nPos = 0;
    while (nPos < sList.size()) {
        size_t nEnd = sList.find(';', nPos);
        if (nEnd == std::string_view::npos)
            nEnd = sList.size();
        std::string_view sPair = sList.substr(nPos, nEnd - nPos);
        size_t nColon = sPair.rfind(':');
        if (nColon != std::string_view::npos)
            fnPair(sPair.substr(0, nColon), ToInt(sPair.substr(nColon + 1), 0));
        nPos = nEnd + 1;
    }
}

void ReadNumberMap(std::string_view sList, std::map<int, int>& mapOut)
{
    ForEachPair(sList, [&mapOut](std::string_view sKey, int nCount) {
        std::string s(Trim(sKey));
        if (!s.empty())
            mapOut[ToInt(s, 0)] += nCount;
    });
}

void FormatRead(std::string_view sBlock, _tFormat& format)
{
    std::string_view sText;
    if (ElementText(sBlock, "font", sText)) {
        ForEachPair(sText, [&format](std::string_view sKey, int nCount) {
            if (!sKey.empty())
                format.mapFont2Freq[std::string(sKey)] += nCount;
        });
    }
    if (ElementText(sBlock, "fontSize", sText))
        ReadNumberMap(sText, format.mapFontSize2Freq);
    if (ElementText(sBlock, "line_space", sText))
        ReadNumberMap(sText, format.mapLineSpace2Freq);
    if (ElementText(sBlock, "line_rule", sText)) {
        ForEachPair(sText, [&format](std::string_view sKey, int nCount) {
            format.mapLineRule2Freq[LineRule::FromName(sKey)] += nCount;
        });
    }
    size_t nSection = sBlock.find("<section_format>");
    if (nSection != std::string_view::npos) {
        std::string_view sRest = sBlock.substr(nSection);
        size_t nEnd = sRest.find("</section_format>");
        if (nEnd != std::string_view::npos)
            sRest = sRest.substr(0, nEnd);
        ReadSectionFormat(sRest.data(), sRest.data() + sRest.size(), format.section_format);
    }
}

template <typename Key>
Key MostFrequent(const std::map<Key, int>& mapFreq)
{
    const std::pair<const Key, int>* pBest = nullptr;
    for (const auto& entry : mapFreq)
        if (!pBest || entry.second > pBest->second)
            pBest = &entry;
    return pBest ? pBest->first : Key();
}

void WriteNumberMap(const std::map<int, int>& mapFreq, std::string& sOut)
{
    for (const auto& [nKey, nCount] : mapFreq)
        sOut += std::to_string(nKey) + ":" + std::to_string(nCount) + ";";
}

bool LearnsPattern(int nLevel)
{
    switch (nLevel) {
    case 1: case 2: case 3: case 4:
    case DocLevel::TABLE_CAPTION: case DocLevel::FIGURE_CAPTION: case DocLevel::REFERENCE_TEXT:
    case DocLevel::FORMULA_INDEX: case DocLevel::AUTHOR: case DocLevel::SUPERVISOR:
        return true;
    default:
        return false;
    }
}

// A formula's number stands at its end, in brackets: read from the last one.
const char* FormulaNumber(const std::string& sText)
{
    size_t nAscii = sText.rfind('(');
    size_t nWide = sText.rfind("\xEF\xBC\x88");  // （
    size_t nPos = nAscii == std::string::npos ? nWide
                  : nWide == std::string::npos ? nAscii
                                               : std::max(nAscii, nWide);
    return sText.c_str() + (nPos == std::string::npos ? 0 : nPos);
}

std::string ToUtf8(const std::string& sGbk)
{
    std::string sOut;
    return GbkToUtf8(sGbk, sOut) ? sOut : sGbk;
}

std::string ToGbk(std::string_view sUtf8)
{
    std::string sOut;
    return Utf8ToGbk(std::string(sUtf8), sOut) ? sOut : std::string(sUtf8);
}

}  // namespace

// ---- _tFormat ----------------------------------------------------------------

int _tFormat::MostFrequentLineSpace() const { return MostFrequent(mapLineSpace2Freq); }
int _tFormat::MostFrequentFontSize() const { return MostFrequent(mapFontSize2Freq); }
std::string _tFormat::MostFrequentFont() const { return MostFrequent(mapFont2Freq); }
int _tFormat::MostFrequentLineRule() const
{
    return mapLineRule2Freq.empty() ? -1 : MostFrequent(mapLineRule2Freq);
}

// ---- Section format block ----------------------------------------------------

void WriteSectionFormat(const _tSection_Format& format, std::string& sOut)
{
    sOut += "\r\n<section_format>";
    sOut += "\r\n\t<prefix>" + ToUtf8(format.prefix) + "</prefix>";
    if (format.chapter_format != -1)
        sOut += "\r\n\t<chapter_format>" + std::to_string(format.chapter_format) + "</chapter_format>";
    sOut += "\r\n\t<section_sep>" + ToUtf8(format.section_sep) + "</section_sep>";
    sOut += "\r\n\t<num_format>" + std::to_string(format.num_format) + "</num_format>";
    sOut += "\r\n\t<post>" + ToUtf8(format.post) + "</post>";
    sOut += "\r\n\t<level>" + std::to_string(format.level) + "</level>";
    sOut += "\r\n\t<section_type>" + std::to_string(format.section_type) + "</section_type>";
    sOut += "\r\n\t<sample>" + format.sample + "</sample>";
    sOut += "\r\n</section_format>\r\n";
}

void ReadSectionFormat(const char* pBegin, const char* pEnd, _tSection_Format& format)
{
    format = _tSection_Format();
    if (!pBegin || pEnd <= pBegin)
        return;
    std::string_view sBlock(pBegin, static_cast<size_t>(pEnd - pBegin));
    std::string_view sText;
    if (ElementText(sBlock, "prefix", sText))
        format.prefix = ToGbk(sText);
    if (ElementText(sBlock, "chapter_format", sText))
        format.chapter_format = ToInt(sText, -1);
    if (ElementText(sBlock, "section_sep", sText))
        format.section_sep = ToGbk(sText);
    if (ElementText(sBlock, "num_format", sText))
        format.num_format = ToInt(sText, -1);
    if (ElementText(sBlock, "post", sText))
        format.post = ToGbk(sText);
    if (ElementText(sBlock, "level", sText))
        format.level = ToInt(sText, 0);
    if (ElementText(sBlock, "section_type", sText))
        format.section_type = ToInt(sText, 0);
    if (ElementText(sBlock, "sample", sText))
        format.sample = std::string(sText);
}

// ---- CDocFormat --------------------------------------------------------------

CDocFormat::CDocFormat() = default;
CDocFormat::~CDocFormat() = default;

CDocFormat::CDocFormat(const CDocFormat& other)
    : m_leve2Format(other.m_leve2Format), m_vecRequired(other.m_vecRequired), m_pExists(other.m_pExists)
{
    RebuildDict();
}

CDocFormat& CDocFormat::operator=(const CDocFormat& other)
{
    if (this != &other) {
        m_leve2Format = other.m_leve2Format;
        m_vecRequired = other.m_vecRequired;
        m_pExists = other.m_pExists;
        RebuildDict();
    }
    return *this;
}

const std::map<int, std::string>& CDocFormat::LevelId2Type()
{
    static const std::map<int, std::string> s_map = [] {
        std::map<int, std::string> map;
        for (const auto& [nLevel, sName] : kLevelNames)
            map[nLevel] = sName;
        return map;
    }();
    return s_map;
}

const std::map<std::string, int>& CDocFormat::Type2LevelId()
{
    static const std::map<std::string, int> s_map = [] {
        std::map<std::string, int> map;
        for (const auto& [nLevel, sName] : kLevelNames)
            map[sName] = nLevel;
        return map;
    }();
    return s_map;
}

void CDocFormat::Level2Str(int nLevel, std::string& sOut, const std::map<int, std::string>& mapLevel2Name)
{
    auto it = mapLevel2Name.find(nLevel);
    sOut = it != mapLevel2Name.end() ? it->second : std::to_string(nLevel);
}

int CDocFormat::Str2Level(const char* pBegin, const char* pEnd, const std::map<std::string, int>& mapType2Level)
{
    if (!pBegin || pEnd <= pBegin)
        return 0;
    std::string sName(Trim(std::string_view(pBegin, static_cast<size_t>(pEnd - pBegin))));
    auto it = mapType2Level.find(sName);
    return it != mapType2Level.end() ? it->second : ToInt(sName, 0);
}

void CDocFormat::Clear()
{
    m_leve2Format.clear();
    Destroy();
}

void CDocFormat::Destroy()
{
    m_vecRequired.clear();
    m_pDict.reset();
    m_pWordList.reset();
    m_pExists.clear();
}

int CDocFormat::Import(const char* pBegin, const char* pEnd, const std::map<std::string, int>& mapType2Level)
{
    Clear();
    if (!pBegin || pEnd <= pBegin)
        return 1;
    std::string_view sText(pBegin, static_cast<size_t>(pEnd - pBegin));
    size_t nFormatsEnd = sText.find("</DocFormat>");
    std::string_view sFormats = sText.substr(0, nFormatsEnd);
    for (size_t nPos = sFormats.find("<format>"); nPos != std::string_view::npos;
         nPos = sFormats.find("<format>", nPos)) {
        size_t nEnd = sFormats.find("</format>", nPos);
        std::string_view sBlock = sFormats.substr(nPos, nEnd == std::string_view::npos ? nEnd : nEnd - nPos);
        std::string_view sType;
        int nLevel = 0;
        if (ElementText(sBlock, "type", sType))
            nLevel = Str2Level(sType.data(), sType.data() + sType.size(), mapType2Level);
        _tFormat format;
        FormatRead(sBlock, format);
        m_leve2Format[nLevel] = std::move(format);
        if (nEnd == std::string_view::npos)
            break;
        nPos = nEnd;
    }
    std::string_view sRest = nFormatsEnd == std::string_view::npos ? std::string_view() : sText.substr(nFormatsEnd);
    for (size_t nPos = sRest.find("<item>"); nPos != std::string_view::npos; nPos = sRest.find("<item>", nPos)) {
        nPos += 6;
        size_t nEnd = sRest.find("</item>", nPos);
        if (nEnd == std::string_view::npos)
            nEnd = sRest.size();
        AddRequired(std::string(sRest.substr(nPos, nEnd - nPos)));
        nPos = nEnd;
    }
    ClearExists();
    return 1;
}

void CDocFormat::Export(std::string& sOut, const std::map<int, std::string>& mapLevel2Name) const
{
    sOut += "<DocTemplate><DocFormat>";
    for (const auto& [nLevel, format] : m_leve2Format) {
        std::string sName;
        Level2Str(nLevel, sName, mapLevel2Name);
        sOut += "<format>\r\n<type>" + sName + "</type>";
        sOut += "\r\n<font>";
        for (const auto& [sFont, nCount] : format.mapFont2Freq)
            sOut += sFont + ":" + std::to_string(nCount) + ";";
        sOut += "</font>\r\n<fontSize>";
        WriteNumberMap(format.mapFontSize2Freq, sOut);
        sOut += "</fontSize>\r\n<line_space>";
        WriteNumberMap(format.mapLineSpace2Freq, sOut);
        sOut += "</line_space>";
        if (!format.mapLineRule2Freq.empty()) {
            sOut += "\r\n<line_rule>";
            for (const auto& [nRule, nCount] : format.mapLineRule2Freq)
                sOut += std::string(LineRule::Name(nRule)) + ":" + std::to_string(nCount) + ";";
            sOut += "</line_rule>";
        }
        if (format.section_format.num_format != -1)
            WriteSectionFormat(format.section_format, sOut);
        sOut += "</format>\n";
    }
    sOut += "</DocFormat><Required>\r\n";
    for (const std::string& sItem : m_vecRequired)
        sOut += "<item>" + sItem + "</item>\r\n";
    sOut += "</Required>\r\n";
}

void CDocFormat::FormatStatistic(const std::map<int, std::string>&, const _tParagraph& para, _tFormat& format,
                                 int nWeight)
{
    if (!para.font.empty())
        format.mapFont2Freq[para.font] += nWeight;
    if (para.font_size > 0)
        format.mapFontSize2Freq[para.font_size] += nWeight;
    if (para.line_space > 0) {
        format.mapLineSpace2Freq[para.line_space] += nWeight;
        format.mapLineRule2Freq[para.line_rule] += nWeight;
    }
    if (format.section_format.num_format != -1 || para.text.empty() || !LearnsPattern(para.level))
        return;
    CNumUtility numbers(true);
    _tSection_Info info;
    bool bFormula = para.level == DocLevel::FORMULA_INDEX;
    numbers.ExtractOrder(bFormula ? FormulaNumber(para.text) : para.text.c_str(), info, bFormula ? 3 : -1);
    if (info.order < 1)
        return;
    format.section_format = static_cast<const _tSection_Format&>(info);
    format.section_format.section_type = para.level;
}

void CDocFormat::Learn(const std::vector<_tParagraph>& vecParagraphs)
{
    static const std::map<int, std::string>& s_mapNames = LevelId2Type();
    for (const _tParagraph& para : vecParagraphs) {
        if (para.IsPlaceholder())
            continue;
        FormatStatistic(s_mapNames, para, m_leve2Format[para.level], 1);
        size_t nMark = para.text.find("KKK");
        if (nMark == std::string::npos)
            continue;
        size_t nEnd = para.text.find("GGG", nMark + 3);
        if (nEnd != std::string::npos)
            AddRequired(para.text.substr(nMark + 3, nEnd - nMark - 3));
    }
    ClearExists();
}

int CDocFormat::GenerateDocFormat(int nType, const char* sOrg, const char* sArea, const char* sArgu,
                                  const char* sDocxPath, const std::map<int, std::string>& mapLevel2Name,
                                  std::string& sOut)
{
    sOut.clear();
    Clear();
    std::vector<_tParagraph> vecParagraphs;
    std::string sPath = sDocxPath ? sDocxPath : "";
    if (!CSampleStructure::ReadSample(sPath, nType, vecParagraphs)) {
        SetLastError("Fail read template doc file " + sPath);
        return -1;
    }
    Learn(vecParagraphs);
    Export(sOut, mapLevel2Name);
    sOut += "\r\n<DocType>" + std::to_string(nType) + "</DocType>\r\n";
    sOut += std::string("<Organization>") + (sOrg ? sOrg : "") + "</Organization>\r\n";
    sOut += std::string("<Area>") + (sArea ? sArea : "") + "</Area>\r\n";
    sOut += std::string("<Argument>") + (sArgu ? sArgu : "") + "</Argument>\r\n</DocTemplate>\r\n";
    return 1;
}

const _tFormat* CDocFormat::GetFormat(int nLevel) const
{
    auto it = m_leve2Format.find(nLevel);
    return it == m_leve2Format.end() ? nullptr : &it->second;
}

std::string CDocFormat::NormaliseRequired(const std::string& sText)
{
    auto isLatin = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    std::string sIn = sText;
    while (!sIn.empty() && (sIn.back() == '\r' || sIn.back() == '\n'))
        sIn.pop_back();
    std::string sOut;
    for (size_t i = 0; i < sIn.size(); ++i) {
        char c = sIn[i];
        if (IsBlank(c)) {
            bool bPrevLatin = !sOut.empty() && isLatin(sOut.back());
            bool bNextLatin = i + 1 < sIn.size() && isLatin(sIn[i + 1]);
            if (!bPrevLatin && !bNextLatin)
                continue;
        }
        sOut += c;
    }
    return sOut;
}

int CDocFormat::AddRequired(const std::string& sText)
{
    std::string sPart = NormaliseRequired(sText);
    if (sPart.empty())
        return -1;
    // A part listed twice is one part: ids are list indexes.
    auto it = std::find(m_vecRequired.begin(), m_vecRequired.end(), sPart);
    if (it != m_vecRequired.end())
        return static_cast<int>(it - m_vecRequired.begin());
    m_vecRequired.push_back(sPart);
    RebuildDict();
    m_pExists.resize(m_vecRequired.size(), 0);
    return static_cast<int>(m_vecRequired.size()) - 1;
}

void CDocFormat::RebuildDict()
{
    m_pDict.reset();
    m_pWordList.reset();
    if (m_vecRequired.empty())
        return;
    auto pDict = std::make_unique<CPDAT>(PDAT_MODE_BYTE);
    pDict->AddWordInit();
    for (size_t i = 0; i < m_vecRequired.size(); ++i)
        pDict->AddWord(m_vecRequired[i].c_str(), static_cast<int>(i), false);
    pDict->AddWordComplete();
    auto pWords = std::make_unique<CWordList>(false, pDict.get());
    pWords->AddWordInit();
    for (size_t i = 0; i < m_vecRequired.size(); ++i)
        pWords->AddWord(m_vecRequired[i].c_str(), static_cast<int>(i));
    pWords->AddWordComplete();
    m_pDict = std::move(pDict);
    m_pWordList = std::move(pWords);
}

void CDocFormat::ScanRequired(const std::string& sText, std::vector<char>& vecFound) const
{
    vecFound.resize(m_vecRequired.size(), 0);
    if (!m_pDict || sText.empty())
        return;
    std::vector<_stTermPosition> vecHits;
    m_pDict->MMScanPosition(sText.c_str(), vecHits, 0);
    for (const _stTermPosition& hit : vecHits)
        if (hit.nHandle >= 0 && static_cast<size_t>(hit.nHandle) < vecFound.size())
            vecFound[static_cast<size_t>(hit.nHandle)] = 1;
}

void CDocFormat::ClearExists()
{
    m_pExists.assign(m_vecRequired.size(), 0);
}

void CDocFormat::SetExists(int nId)
{
    if (nId >= 0 && static_cast<size_t>(nId) < m_pExists.size())
        m_pExists[static_cast<size_t>(nId)] = 1;
}

bool CDocFormat::IsExists(int nId) const
{
    return nId >= 0 && static_cast<size_t>(nId) < m_pExists.size() && m_pExists[static_cast<size_t>(nId)] != 0;
}

void CDocFormat::MarkExists(const std::string& sText)
{
    ScanRequired(sText, m_pExists);
}
