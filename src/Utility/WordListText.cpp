// Parsing of word-list and map-list lines.
#include "Utility/WordListText.h"

#include <algorithm>

namespace {

const char* const kWhiteSpace = " \t\r\n";
const char* const kMapSeparators = ", \t\r\n";

bool StartsWithBom(const std::string& s, size_t nPos)
{
    return s.compare(nPos, 3, "\xEF\xBB\xBF") == 0;
}

std::string Underscores2Spaces(std::string s)
{
    std::replace(s.begin(), s.end(), '_', ' ');
    return s;
}

}  // namespace

std::vector<std::string> SplitTextLines(const std::string& sText)
{
    std::vector<std::string> vecLines;
    size_t nPos = 0;
    while (nPos < sText.size()) {
        size_t nEnd = sText.find('\n', nPos);
        if (nEnd == std::string::npos)
            nEnd = sText.size();
        size_t nLen = nEnd - nPos;
        if (nLen > 0 && sText[nEnd - 1] == '\r')
            --nLen;
        vecLines.push_back(sText.substr(nPos, nLen));
        nPos = nEnd + 1;
    }
    return vecLines;
}

std::string ParseWordListEntry(const std::string& sRawLine)
{
    std::string sLine = sRawLine.substr(0, sRawLine.find('\0'));
    size_t nStart = sLine.find_first_not_of(kWhiteSpace);
    if (nStart == std::string::npos)
        return "";
    if (StartsWithBom(sLine, nStart))
        nStart += 3;
    if (nStart < sLine.size() && sLine[nStart] == '[') {
        size_t nClose = sLine.find(']', nStart + 1);
        size_t nEnd = nClose == std::string::npos ? sLine.size() : nClose;
        return Underscores2Spaces(sLine.substr(nStart + 1, nEnd - nStart - 1));
    }
    size_t nEnd = sLine.find_first_of(kWhiteSpace, nStart);
    if (nEnd == std::string::npos)
        nEnd = sLine.size();
    return Underscores2Spaces(sLine.substr(nStart, nEnd - nStart));
}

std::string FormatWordListEntry(const std::string& sEntry)
{
    if (sEntry.find_first_of(" \t") != std::string::npos)
        return "[" + sEntry + "]";
    return sEntry;
}

std::vector<std::string> SplitMapEntries(const std::string& sRawLine)
{
    std::string sLine = sRawLine.substr(0, sRawLine.find('\0'));
    std::vector<std::string> vecEntries;
    size_t nPos = 0;
    while (true) {
        nPos = sLine.find_first_not_of(kMapSeparators, nPos);
        if (nPos == std::string::npos)
            break;
        size_t nEnd;
        std::string sEntry;
        if (sLine[nPos] == '[') {
            size_t nClose = sLine.find(']', nPos + 1);
            nEnd = nClose == std::string::npos ? sLine.size() : nClose;
            sEntry = sLine.substr(nPos + 1, nEnd - nPos - 1);
            nEnd = std::min(sLine.size(), nEnd + 1);
        } else {
            nEnd = sLine.find_first_of(kMapSeparators, nPos);
            if (nEnd == std::string::npos)
                nEnd = sLine.size();
            sEntry = sLine.substr(nPos, nEnd - nPos);
        }
        sEntry = Underscores2Spaces(sEntry);
        if (!sEntry.empty())
            vecEntries.push_back(sEntry);
        nPos = nEnd;
    }
    return vecEntries;
}

std::vector<std::string> SplitTabFields(const std::string& sLine)
{
    std::vector<std::string> vecFields;
    size_t nPos = 0;
    while (true) {
        size_t nTab = sLine.find('\t', nPos);
        vecFields.push_back(sLine.substr(nPos, nTab == std::string::npos ? std::string::npos : nTab - nPos));
        if (nTab == std::string::npos)
            break;
        nPos = nTab + 1;
    }
    return vecFields;
}
