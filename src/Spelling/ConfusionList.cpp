// Reading the look-alike groups.
#include "Spelling/ConfusionList.h"

#include <algorithm>
#include <sstream>

#include "Spelling/Utf8Chars.h"

void CConfusionList::AddGroup(const std::vector<char32_t>& vecGroup, GroupMap& map)
{
    for (char32_t nCode : vecGroup) {
        std::vector<char32_t>& vecOthers = map[nCode];
        for (char32_t nOther : vecGroup) {
            if (nOther != nCode && std::find(vecOthers.begin(), vecOthers.end(), nOther) == vecOthers.end())
                vecOthers.push_back(nOther);
        }
    }
}

int CConfusionList::Load(const std::string& sText)
{
    std::istringstream lines(sText);
    std::string sLine;
    int nGroups = 0;
    while (std::getline(lines, sLine)) {
        size_t nHash = sLine.find('#');
        if (nHash != std::string::npos)
            sLine.erase(nHash);
        std::vector<char32_t> vecGroup;
        for (const _tUtf8Char& ch : SplitUtf8(sLine)) {
            if (IsHanChar(ch.nCode) && std::find(vecGroup.begin(), vecGroup.end(), ch.nCode) == vecGroup.end())
                vecGroup.push_back(ch.nCode);
        }
        if (vecGroup.size() < 2)
            continue;
        ++nGroups;
        bool bApart = sLine.find_first_not_of(" \t") != std::string::npos && sLine[sLine.find_first_not_of(" \t")] == '!';
        AddGroup(vecGroup, bApart ? m_mapApart : m_mapAlikes);
    }
    return nGroups;
}

const std::vector<char32_t>& CConfusionList::LookAlikes(char32_t nCode) const
{
    static const std::vector<char32_t> kNone;
    auto it = m_mapAlikes.find(nCode);
    return it == m_mapAlikes.end() ? kNone : it->second;
}

bool CConfusionList::KeptApart(char32_t nCode, char32_t nOther) const
{
    auto it = m_mapApart.find(nCode);
    return it != m_mapApart.end() && std::find(it->second.begin(), it->second.end(), nOther) != it->second.end();
}
