// User words: parsing their lines, normalising them, and compiling them
// into a byte-mode dictionary so a lookup costs the same as for core words.
#include "Segmenter/UserDict.h"

#include <cctype>

#include "Utility/Blanks.h"
#include "Utility/WordListText.h"

namespace {

const size_t kMaxWordBytes = 1024;
const size_t kMaxTagBytes = 32;
const char* const kDefaultTag = "n";

// Trimmed, every run of white space one space.
std::string NormaliseSpaces(const std::string& sText)
{
    std::string sOut;
    sOut.reserve(sText.size());
    bool bPendingSpace = false;
    for (char c : sText) {
        if (IsWhiteSpace(c)) {
            bPendingSpace = !sOut.empty();
            continue;
        }
        if (bPendingSpace)
            sOut.push_back(' ');
        bPendingSpace = false;
        sOut.push_back(c);
    }
    return sOut;
}

std::vector<std::string> SplitBlank(const std::string& sText)
{
    std::vector<std::string> vecFields;
    size_t nPos = 0;
    while (nPos < sText.size()) {
        while (nPos < sText.size() && IsWhiteSpace(sText[nPos]))
            ++nPos;
        size_t nStart = nPos;
        while (nPos < sText.size() && !IsWhiteSpace(sText[nPos]))
            ++nPos;
        if (nPos > nStart)
            vecFields.push_back(sText.substr(nStart, nPos - nStart));
    }
    return vecFields;
}

bool IsWholeNumber(const std::string& sText)
{
    for (char c : sText)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return !sText.empty();
}

}  // namespace

CUserDict::CUserDict() : m_dict(PDAT_MODE_BYTE) {}

bool CUserDict::ParseLine(const std::string& sLine, std::string& sWord, std::string& sTag)
{
    std::string sText = sLine.compare(0, 3, "\xEF\xBB\xBF") == 0 ? sLine.substr(3) : sLine;
    size_t nStart = 0;
    while (nStart < sText.size() && IsWhiteSpace(sText[nStart]))
        ++nStart;
    if (nStart == sText.size())
        return false;
    std::string sRest;
    if (sText[nStart] == '[') {
        size_t nClose = sText.find(']', nStart + 1);
        if (nClose == std::string::npos)
            return false;
        sWord = sText.substr(nStart + 1, nClose - nStart - 1);
        sRest = sText.substr(nClose + 1);
    } else {
        size_t nEnd = nStart;
        while (nEnd < sText.size() && !IsWhiteSpace(sText[nEnd]))
            ++nEnd;
        sWord = sText.substr(nStart, nEnd - nStart);
        sRest = sText.substr(nEnd);
    }
    std::vector<std::string> vecFields = SplitBlank(sRest);
    sTag.clear();
    if (vecFields.size() >= 2 && IsWholeNumber(vecFields[0]))
        sTag = vecFields[1];
    else if (!vecFields.empty() && !(vecFields.size() == 1 && IsWholeNumber(vecFields[0])))
        sTag = vecFields[0];
    return !NormaliseSpaces(sWord).empty();
}

bool CUserDict::Add(const std::string& sWord, const std::string& sTag)
{
    std::string sKey = NormaliseSpaces(sWord);
    std::string sCleanTag = NormaliseSpaces(sTag);
    if (!sCleanTag.empty() && sCleanTag[0] == '/')
        sCleanTag.erase(0, 1);
    if (sCleanTag.empty())
        sCleanTag = kDefaultTag;
    if (sKey.empty() || sKey.size() > kMaxWordBytes || sCleanTag.size() > kMaxTagBytes ||
        sCleanTag.find(' ') != std::string::npos)
        return false;
    if (sKey.find(' ') != std::string::npos && sKey.find(']') != std::string::npos)
        return false;  // could not be written back as "[a b]"
    m_mapWords[sKey] = sCleanTag;
    return true;
}

int CUserDict::AddFromText(const std::string& sText)
{
    int nAdded = 0;
    std::string sWord, sTag;
    for (const std::string& sLine : SplitTextLines(sText))
        if (ParseLine(sLine, sWord, sTag) && Add(sWord, sTag))
            ++nAdded;
    return nAdded;
}

std::string CUserDict::ToText() const
{
    std::string sText;
    for (const auto& entry : m_mapWords) {
        bool bSpaced = entry.first.find(' ') != std::string::npos;
        sText += bSpaced ? "[" + entry.first + "]" : entry.first;
        sText += '\t';
        sText += entry.second;
        sText += '\n';
    }
    return sText;
}

void CUserDict::Compile()
{
    m_dict.AddWordInit();
    m_vecTags.clear();
    for (const auto& entry : m_mapWords) {
        int nId = m_dict.AddWord(entry.first.c_str());
        if (nId < 0)
            continue;
        if (static_cast<size_t>(nId) >= m_vecTags.size())
            m_vecTags.resize(static_cast<size_t>(nId) + 1, kDefaultTag);
        m_vecTags[static_cast<size_t>(nId)] = entry.second;
    }
    m_dict.AddWordComplete();
}

int CUserDict::Longest(const char* sText, int nLen, int& nId) const
{
    bool bSpansSpace = false;
    return m_dict.GetMaxWord(sText, nLen, 0, nId, bSpansSpace);
}

const std::string& CUserDict::Tag(int nId) const
{
    static const std::string s_sDefault = kDefaultTag;
    if (nId < 0 || static_cast<size_t>(nId) >= m_vecTags.size())
        return s_sDefault;
    return m_vecTags[static_cast<size_t>(nId)];
}
