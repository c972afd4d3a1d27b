// Reading the Unihan readings, and the compact file they are kept in.
#include "Spelling/CharReadings.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include "Spelling/Utf8Chars.h"
#include "Utility/BinaryReader.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"

namespace {

const uint32_t kMaxSyllables = 8191;  // the index must fit 13 bits
const uint64_t kMaxFileBytes = uint64_t(1) << 26;

// Tone-marked vowels and the letters they stand for.
struct _tMarkedVowel {
    char32_t nCode;
    char cBase;
    int nTone;
};
const _tMarkedVowel kMarkedVowels[] = {
    {U'ā', 'a', 1}, {U'á', 'a', 2}, {U'ǎ', 'a', 3}, {U'à', 'a', 4}, {U'ē', 'e', 1}, {U'é', 'e', 2},
    {U'ě', 'e', 3}, {U'è', 'e', 4}, {U'ī', 'i', 1}, {U'í', 'i', 2}, {U'ǐ', 'i', 3}, {U'ì', 'i', 4},
    {U'ō', 'o', 1}, {U'ó', 'o', 2}, {U'ǒ', 'o', 3}, {U'ò', 'o', 4}, {U'ū', 'u', 1}, {U'ú', 'u', 2},
    {U'ǔ', 'u', 3}, {U'ù', 'u', 4}, {U'ǖ', 'v', 1}, {U'ǘ', 'v', 2}, {U'ǚ', 'v', 3}, {U'ǜ', 'v', 4},
    {U'ü', 'v', 5}, {U'ê', 'e', 5}, {U'ế', 'e', 2}, {U'ề', 'e', 4}, {U'ḿ', 'm', 2}, {U'ń', 'n', 2},
    {U'ň', 'n', 3}, {U'ǹ', 'n', 4},
};

// Combining marks that some readings use instead of a marked letter.
int CombiningTone(char32_t nCode)
{
    switch (nCode) {
    case 0x0304: return 1;
    case 0x0301: return 2;
    case 0x030C: return 3;
    case 0x0300: return 4;
    default: return 0;
    }
}

// "U+5728" -> the code point; 0 when it is none.
char32_t ParseCodePoint(const std::string& sField)
{
    if (sField.size() < 6 || sField.compare(0, 2, "U+") != 0)
        return 0;
    char* pEnd = nullptr;
    unsigned long nCode = std::strtoul(sField.c_str() + 2, &pEnd, 16);
    return (*pEnd == '\0' && nCode <= 0x10FFFF) ? static_cast<char32_t>(nCode) : 0;
}

}  // namespace

bool CCharReadings::ParsePinyin(const std::string& sMarked, std::string& sSyllable, int& nTone)
{
    sSyllable.clear();
    nTone = 5;
    for (const _tUtf8Char& ch : SplitUtf8(sMarked)) {
        if (ch.nCode >= 'a' && ch.nCode <= 'z') {
            sSyllable += static_cast<char>(ch.nCode);
            continue;
        }
        if (int nMark = CombiningTone(ch.nCode)) {
            nTone = nMark;
            continue;
        }
        auto it = std::find_if(std::begin(kMarkedVowels), std::end(kMarkedVowels),
                               [&](const _tMarkedVowel& v) { return v.nCode == ch.nCode; });
        if (it == std::end(kMarkedVowels))
            return false;
        sSyllable += it->cBase;
        if (it->nTone != 5)
            nTone = it->nTone;
    }
    return !sSyllable.empty() && sSyllable.size() <= 8;
}

uint16_t CCharReadings::SyllableIndex(const std::string& sSyllable)
{
    auto it = m_mapSyllables.find(sSyllable);
    if (it != m_mapSyllables.end())
        return it->second;
    uint16_t nIndex = static_cast<uint16_t>(m_vecSyllables.size());
    m_vecSyllables.push_back(sSyllable);
    m_mapSyllables.emplace(sSyllable, nIndex);
    return nIndex;
}

void CCharReadings::AddReading(char32_t nCode, const std::string& sMarked)
{
    std::string sSyllable;
    int nTone = 5;
    if (!ParsePinyin(sMarked, sSyllable, nTone))
        return;
    if (m_vecSyllables.size() >= kMaxSyllables && !m_mapSyllables.count(sSyllable))
        return;
    uint16_t nReading = MakeReading(SyllableIndex(sSyllable), nTone);
    std::vector<uint16_t>& vecReadings = m_mapReadings[nCode];
    if (std::find(vecReadings.begin(), vecReadings.end(), nReading) == vecReadings.end())
        vecReadings.push_back(nReading);
}

int CCharReadings::BuildFromUnihan(const std::string& sText)
{
    std::istringstream lines(sText);
    std::string sLine;
    while (std::getline(lines, sLine)) {
        std::istringstream fields(sLine);
        std::string sCode, sField, sValue;
        if (!(fields >> sCode >> sField) || (sField != "kMandarin" && sField != "kHanyuPinyin"))
            continue;
        char32_t nCode = ParseCodePoint(sCode);
        if (nCode == 0)
            continue;
        // kMandarin: readings separated by blanks; kHanyuPinyin: groups of
        // "locations:reading,reading" separated by blanks.
        while (fields >> sValue) {
            size_t nColon = sValue.find(':');
            std::istringstream readings(nColon == std::string::npos ? sValue : sValue.substr(nColon + 1));
            std::string sReading;
            while (std::getline(readings, sReading, ','))
                AddReading(nCode, sReading);
        }
    }
    IndexByReading();
    return static_cast<int>(m_mapReadings.size());
}

void CCharReadings::IndexByReading()
{
    m_mapChars.clear();
    for (const auto& entry : m_mapReadings) {
        for (uint16_t nReading : entry.second)
            m_mapChars[nReading].push_back(entry.first);
    }
    for (auto& entry : m_mapChars)
        std::sort(entry.second.begin(), entry.second.end());
}

bool CCharReadings::Save(const std::string& sPath, std::string& sError) const
{
    CBinaryWriter writer;
    writer.Write(static_cast<uint32_t>(m_vecSyllables.size()));
    for (const std::string& sSyllable : m_vecSyllables) {
        writer.Write(static_cast<uint8_t>(sSyllable.size()));
        writer.WriteBytes(sSyllable);
    }
    std::vector<char32_t> vecCodes;
    for (const auto& entry : m_mapReadings)
        vecCodes.push_back(entry.first);
    std::sort(vecCodes.begin(), vecCodes.end());
    writer.Write(static_cast<uint32_t>(vecCodes.size()));
    for (char32_t nCode : vecCodes) {
        const std::vector<uint16_t>& vecReadings = m_mapReadings.at(nCode);
        writer.Write(static_cast<uint32_t>(nCode));
        writer.Write(static_cast<uint8_t>(std::min<size_t>(vecReadings.size(), 255)));
        for (size_t i = 0; i < vecReadings.size() && i < 255; ++i)
            writer.Write(vecReadings[i]);
    }
    if (!WriteFileAtomic(sPath, writer.Data())) {
        sError = "cannot write " + sPath;
        return false;
    }
    return true;
}

bool CCharReadings::Load(const std::string& sPath, std::string& sError)
{
    m_vecSyllables.clear();
    m_mapSyllables.clear();
    m_mapReadings.clear();
    m_mapChars.clear();
    std::string sData;
    if (!ReadWholeFile(sPath, sData, kMaxFileBytes)) {
        sError = "cannot read " + sPath;
        return false;
    }
    CBinaryReader reader(sData);
    uint32_t nSyllables = 0, nChars = 0;
    bool bOk = reader.Read(nSyllables) && nSyllables <= kMaxSyllables;
    for (uint32_t i = 0; bOk && i < nSyllables; ++i) {
        uint8_t nLen = 0;
        std::string sSyllable;
        bOk = reader.Read(nLen) && reader.ReadBytes(nLen, sSyllable);
        if (bOk)
            SyllableIndex(sSyllable);
    }
    bOk = bOk && reader.Read(nChars) && nChars <= reader.Remaining() / 5;
    for (uint32_t i = 0; bOk && i < nChars; ++i) {
        uint32_t nCode = 0;
        uint8_t nCount = 0;
        bOk = reader.Read(nCode) && reader.Read(nCount);
        std::vector<uint16_t>& vecReadings = m_mapReadings[static_cast<char32_t>(nCode)];
        for (uint8_t k = 0; bOk && k < nCount; ++k) {
            uint16_t nReading = 0;
            bOk = reader.Read(nReading) && Syllable(nReading) < nSyllables;
            vecReadings.push_back(nReading);
        }
    }
    if (!bOk || !reader.AtEnd()) {
        sError = sPath + ": truncated or corrupt readings file";
        m_mapReadings.clear();
        return false;
    }
    IndexByReading();
    return true;
}

const std::vector<uint16_t>& CCharReadings::Readings(char32_t nCode) const
{
    static const std::vector<uint16_t> kNone;
    auto it = m_mapReadings.find(nCode);
    return it == m_mapReadings.end() ? kNone : it->second;
}

const std::vector<char32_t>& CCharReadings::CharsWith(uint16_t nReading) const
{
    static const std::vector<char32_t> kNone;
    auto it = m_mapChars.find(nReading);
    return it == m_mapChars.end() ? kNone : it->second;
}

std::string CCharReadings::ReadingText(uint16_t nReading) const
{
    uint16_t nSyllable = Syllable(nReading);
    if (nSyllable >= m_vecSyllables.size())
        return "";
    return m_vecSyllables[nSyllable] + std::to_string(Tone(nReading));
}
