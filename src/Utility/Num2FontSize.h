// Chinese font-size names (such as 小四 or 五号) and the half-point numbers
// that the document model uses for font sizes, both ways.
#pragma once

#include <map>
#include <string>

class CNum2FontSize {
public:
    // Reads "Font/FontSize.dat": a header line, then "name number" lines.
    // The number of distinct names, or -1 when the file cannot be read.
    int Import(const char* sFilename);
    int ImportFromBuffer(const std::string& sText);
    // The name of a size number; for a number without a name its decimal
    // text, kept in the calling thread's last-error string.
    const char* GetFontSizeName(int nSizeNum) const;
    // The number of a name, 0 when unknown.
    int GetFontSizeNum(const char* sName) const;
    size_t Size() const { return m_mapName2FontSize.size(); }

private:
    std::map<int, std::string> m_mapFontSize2Name;
    std::map<std::string, int> m_mapName2FontSize;
};
