// Mandarin readings of the Chinese characters, for finding characters that
// sound alike. Built at build time from the Unihan readings (kMandarin and
// kHanyuPinyin, every reading a character has) and kept as a compact binary
// file: the syllable count and syllables, then the character count and per
// character its code point, reading count and readings. A reading is a
// syllable index times 8 plus the tone (1 to 4, 5 for the neutral tone).
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class CCharReadings {
public:
    // Takes the kMandarin and kHanyuPinyin lines of a Unihan_Readings.txt
    // text (others are skipped). Returns the number of characters read.
    int BuildFromUnihan(const std::string& sText);
    bool Save(const std::string& sPath, std::string& sError) const;
    // False with sError when the file is missing, short or corrupt.
    bool Load(const std::string& sPath, std::string& sError);

    // The readings of a character; empty when it has none.
    const std::vector<uint16_t>& Readings(char32_t nCode) const;
    // The characters that have a reading, in code point order.
    const std::vector<char32_t>& CharsWith(uint16_t nReading) const;
    // "zai4" for a reading.
    std::string ReadingText(uint16_t nReading) const;
    static int Tone(uint16_t nReading) { return nReading & 7; }
    static uint16_t Syllable(uint16_t nReading) { return static_cast<uint16_t>(nReading >> 3); }
    static uint16_t MakeReading(uint16_t nSyllable, int nTone) { return static_cast<uint16_t>((nSyllable << 3) | nTone); }
    size_t CharCount() const { return m_mapReadings.size(); }

    // A pinyin syllable with tone marks ("zài", "lǜ", "de") as a toneless
    // syllable ("zai", "lv") and its tone (5 when unmarked); false when the
    // text is no syllable.
    static bool ParsePinyin(const std::string& sMarked, std::string& sSyllable, int& nTone);

private:
    void AddReading(char32_t nCode, const std::string& sMarked);
    uint16_t SyllableIndex(const std::string& sSyllable);
    void IndexByReading();

    std::vector<std::string> m_vecSyllables;
    std::unordered_map<std::string, uint16_t> m_mapSyllables;
    std::unordered_map<char32_t, std::vector<uint16_t>> m_mapReadings;
    std::unordered_map<uint16_t, std::vector<char32_t>> m_mapChars;
};
