// Groups of characters that look alike and are mistaken for one another
// (己 已 巳, 未 末), read from a text list: one group a line, the characters
// separated by blanks or written together; "#" starts a comment. A line
// that begins with "!" is a group never swapped for one another (的 地 得:
// their choice is grammar, not spelling).
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

class CConfusionList {
public:
    // Adds the groups of a list text; returns the number of groups taken.
    int Load(const std::string& sText);
    // The other characters of every group holding nCode, each once.
    const std::vector<char32_t>& LookAlikes(char32_t nCode) const;
    // True when the two characters share a "!" group.
    bool KeptApart(char32_t nCode, char32_t nOther) const;
    size_t CharCount() const { return m_mapAlikes.size(); }

private:
    using GroupMap = std::unordered_map<char32_t, std::vector<char32_t>>;
    static void AddGroup(const std::vector<char32_t>& vecGroup, GroupMap& map);

    GroupMap m_mapAlikes;
    GroupMap m_mapApart;
};
