// Paragraph texts are short, so every name is searched directly; the names
// are kept longest first so that "中非共和国" is taken before "中非".
#include "CountryDetect/CountryList.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "Utility/AsciiCase.h"

namespace {

bool IsLatinWordByte(unsigned char c)
{
    return std::isalnum(c) != 0;
}

std::vector<std::string> Split(const std::string& sText, char cSep)
{
    std::vector<std::string> vecParts;
    std::string sPart;
    std::istringstream in(sText);
    while (std::getline(in, sPart, cSep))
        vecParts.push_back(sPart);
    return vecParts;
}

}  // namespace

void CCountryList::AddName(const std::string& sName, size_t nCountry)
{
    if (sName.empty())
        return;
    bool bLatin = static_cast<unsigned char>(sName[0]) < 0x80;
    m_vecNames.push_back({bLatin ? AsciiLower(sName) : sName, nCountry, bLatin});
}

size_t CCountryList::Parse(const std::string& sText)
{
    m_vecCountries.clear();
    m_vecNames.clear();
    std::istringstream in(sText);
    std::string sLine;
    while (std::getline(in, sLine)) {
        if (!sLine.empty() && sLine.back() == '\r')
            sLine.pop_back();
        if (sLine.empty() || sLine[0] == '#')
            continue;
        std::vector<std::string> vecFields = Split(sLine, '\t');
        if (vecFields.size() < 3 || vecFields[1].empty())
            continue;
        size_t nCountry = m_vecCountries.size();
        m_vecCountries.push_back({vecFields[1], vecFields[2]});
        AddName(vecFields[1], nCountry);
        AddName(vecFields[2], nCountry);
        if (vecFields.size() > 3)
            for (const std::string& sOther : Split(vecFields[3], ';'))
                AddName(sOther, nCountry);
    }
    std::stable_sort(m_vecNames.begin(), m_vecNames.end(),
                     [](const _tName& a, const _tName& b) { return a.sText.size() > b.sText.size(); });
    return m_vecCountries.size();
}

std::vector<size_t> CCountryList::Find(const std::string& sText) const
{
    std::string sLower = AsciiLower(sText);
    std::vector<bool> vecTaken(sText.size(), false);
    std::vector<std::pair<size_t, size_t>> vecHits;  // (position, country)
    for (const _tName& name : m_vecNames) {
        const std::string& sHay = name.bLatin ? sLower : sText;
        for (size_t nPos = sHay.find(name.sText); nPos != std::string::npos;
             nPos = sHay.find(name.sText, nPos + 1)) {
            size_t nEnd = nPos + name.sText.size();
            if (name.bLatin && ((nPos > 0 && IsLatinWordByte(static_cast<unsigned char>(sHay[nPos - 1]))) ||
                                (nEnd < sHay.size() && IsLatinWordByte(static_cast<unsigned char>(sHay[nEnd])))))
                continue;
            if (std::find(vecTaken.begin() + static_cast<std::ptrdiff_t>(nPos),
                          vecTaken.begin() + static_cast<std::ptrdiff_t>(nEnd), true) !=
                vecTaken.begin() + static_cast<std::ptrdiff_t>(nEnd))
                continue;  // inside a longer name already found
            std::fill(vecTaken.begin() + static_cast<std::ptrdiff_t>(nPos),
                      vecTaken.begin() + static_cast<std::ptrdiff_t>(nEnd), true);
            vecHits.emplace_back(nPos, name.nCountry);
        }
    }
    std::sort(vecHits.begin(), vecHits.end());
    std::vector<size_t> vecFound;
    for (const auto& hit : vecHits)
        if (std::find(vecFound.begin(), vecFound.end(), hit.second) == vecFound.end())
            vecFound.push_back(hit.second);
    return vecFound;
}
