// One format template in memory: per paragraph level type the fonts, font
// sizes and line spacings that sample documents use (as counts, not single
// values), the numbering pattern of its headings, and the parts a document
// must hold. Learnt from a sample .docx, read from and written as the
// template text the store keeps.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Docx/DocxRecords.h"
#include "Utility/SectionFormat.h"

class CPDAT;
class CWordList;

// The format of one level type: distributions over the sample paragraphs.
struct _tFormat {
    std::map<int, int> mapLineSpace2Freq;         // raw w:line (240 = single) -> count
    std::map<int, int> mapLineRule2Freq;          // LineRule of those spacings -> count; empty: not known
    std::map<int, int> mapFontSize2Freq;          // half-points -> count
    std::map<std::string, int> mapFont2Freq;      // font name -> count
    _tSection_Format section_format;              // num_format -1: no pattern

    // The entry with the highest count; on a tie the first in key order.
    // 0 / empty when the distribution is empty.
    int MostFrequentLineSpace() const;
    // The rule most samples state their spacing with; -1 when the template
    // does not say (templates written before rules were kept).
    int MostFrequentLineRule() const;
    int MostFrequentFontSize() const;
    std::string MostFrequentFont() const;

    bool HasLineSpace(int nSpace) const { return mapLineSpace2Freq.count(nSpace) != 0; }
    bool HasFontSize(int nSize) const { return mapFontSize2Freq.count(nSize) != 0; }
    bool HasFont(const std::string& sFont) const { return mapFont2Freq.count(sFont) != 0; }
    bool HasSectionPattern() const { return section_format.num_format != -1; }
};

// The section format block of a template text. prefix, section_sep and post
// are GBK in memory and UTF-8 in the text; sample is written as held.
void WriteSectionFormat(const _tSection_Format& format, std::string& sOut);
// Reads the block in [pBegin, pEnd); missing elements keep the defaults.
void ReadSectionFormat(const char* pBegin, const char* pEnd, _tSection_Format& format);

class CDocFormat {
public:
    CDocFormat();
    ~CDocFormat();
    // Copies rebuild the required-part dictionary, so a check may take its
    // own copy of a shared template and mark parts on it.
    CDocFormat(const CDocFormat& other);
    CDocFormat& operator=(const CDocFormat& other);

    // Level names of the template text ("TITLE1" <-> 1 ...), 28 of them.
    static const std::map<int, std::string>& LevelId2Type();
    static const std::map<std::string, int>& Type2LevelId();
    // The level's name, or its decimal value when it has none.
    static void Level2Str(int nLevel, std::string& sOut, const std::map<int, std::string>& mapLevel2Name);
    // The name in [pBegin, pEnd) as a level: a known name, else a decimal.
    static int Str2Level(const char* pBegin, const char* pEnd, const std::map<std::string, int>& mapType2Level);

    // Replaces this template by the template text in [pBegin, pEnd). 1.
    int Import(const char* pBegin, const char* pEnd, const std::map<std::string, int>& mapType2Level);
    int Import(const std::string& sText) { return Import(sText.data(), sText.data() + sText.size(), Type2LevelId()); }
    // Appends the formats and the required parts (parts 1 and 2 of the text).
    void Export(std::string& sOut, const std::map<int, std::string>& mapLevel2Name) const;

    // Adds one paragraph with weight to format (the section pattern is taken
    // from the first numbered paragraph of the heading-like levels).
    static void FormatStatistic(const std::map<int, std::string>& mapLevel2Name, const _tParagraph& para,
                                _tFormat& format, int nWeight);
    // Learns from a sample .docx and writes the whole template text into
    // sOut. 1, or -1 when the sample cannot be read.
    int GenerateDocFormat(int nType, const char* sOrg, const char* sArea, const char* sArgu, const char* sDocxPath,
                          const std::map<int, std::string>& mapLevel2Name, std::string& sOut);
    // Learns from paragraphs already parsed (what GenerateDocFormat does
    // after parsing): level statistics and the KKK...GGG required parts.
    void Learn(const std::vector<_tParagraph>& vecParagraphs);

    bool IsEmpty() const { return m_leve2Format.empty(); }
    void Clear();

    // Formats by level.
    const std::map<int, _tFormat>& GetLevelFormats() const { return m_leve2Format; }
    // The level's format, null when the template has none.
    const _tFormat* GetFormat(int nLevel) const;
    // Created when new; for building templates by hand.
    _tFormat& FormatOf(int nLevel) { return m_leve2Format[nLevel]; }

    // Required parts (normalised, distinct); a part's id is its index.
    const std::vector<std::string>& GetRequired() const { return m_vecRequired; }
    size_t GetRequiredCount() const { return m_vecRequired.size(); }
    // Normalises and adds a part; its id, or -1 when it normalises to empty.
    int AddRequired(const std::string& sText);
    // Marks in vecFound (resized to the part count) every part the text holds.
    void ScanRequired(const std::string& sText, std::vector<char>& vecFound) const;
    // The dictionary over the parts (byte mode), null when there are none.
    const CPDAT* GetRequiredDict() const { return m_pDict.get(); }
    // The per-template flags: cleared on import; set by a check.
    void ClearExists();
    void SetExists(int nId);
    bool IsExists(int nId) const;
    // Marks every part the text holds.
    void MarkExists(const std::string& sText);

    // The normalisation applied to required parts: trailing CR/LF gone, every
    // blank not next to a Latin letter dropped.
    static std::string NormaliseRequired(const std::string& sText);

    void Destroy();

private:
    void RebuildDict();

    std::map<int, _tFormat> m_leve2Format;
    std::vector<std::string> m_vecRequired;
    std::unique_ptr<CPDAT> m_pDict;
    std::unique_ptr<CWordList> m_pWordList;
    std::vector<char> m_pExists;
};
