// Reading and writing keyword-scanner lists.
#include "KeyScanner/KeywordList.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "KeyScanner/PinyinInitials.h"
#include "Utility/Blanks.h"
#include "Utility/WordListText.h"

const char* const CKeywordList::kDefaultClass = "关键词";

namespace {

const char* const kArrow = "-->";

bool ParseWeight(const std::string& sText, double& weight)
{
    char* pEnd = nullptr;
    double value = std::strtod(sText.c_str(), &pEnd);
    if (sText.empty() || *pEnd != '\0' || !std::isfinite(value) || value <= 0 || value > 1000)
        return false;
    weight = value;
    return true;
}

std::string FormatWeight(double weight)
{
    char sBuf[32];
    std::snprintf(sBuf, sizeof sBuf, "%g", weight);
    return sBuf;
}

// Words must not break the answer layout "(Check c)a-->b##...$".
bool IsUsableWord(const std::string& sWord)
{
    return !sWord.empty() && sWord.find('$') == std::string::npos && sWord.find("##") == std::string::npos;
}

bool IsUsableClassName(const std::string& sName)
{
    return !sName.empty() && sName.find_first_of(" \t()$#") == std::string::npos;
}

// "@class NAME [WEIGHT]"; sWhy says what is wrong.
bool ParseClassLine(const std::string& sLine, _tKeyClass& keyClass, std::string& sWhy)
{
    std::string sRest = Trim(sLine.substr(6));
    size_t nSpace = sRest.find_first_of(" \t");
    keyClass.sName = sRest.substr(0, nSpace);
    keyClass.weight = 1.0;
    std::string sWeight = nSpace == std::string::npos ? "" : Trim(sRest.substr(nSpace));
    if (!IsUsableClassName(keyClass.sName))
        sWhy = "a class needs a name without spaces or ()$#";
    else if (!sWeight.empty() && !ParseWeight(sWeight, keyClass.weight))
        sWhy = "bad class weight '" + sWeight + "'";
    return sWhy.empty();
}

bool ParseErrorWordLine(const std::string& sLine, size_t nArrow, _tKeyEntry& entry, std::string& sWhy)
{
    entry.sWord = Trim(sLine.substr(0, nArrow));
    entry.sRight = Trim(sLine.substr(nArrow + 3));
    entry.type = entry.sWord == entry.sRight ? _tKeyEntry::KEY_GUARD : _tKeyEntry::KEY_ERROR_WORD;
    if (!IsUsableWord(entry.sWord) || !IsUsableWord(entry.sRight) || entry.sRight.find(kArrow) != std::string::npos)
        sWhy = "expected WRITTEN-->RIGHT, each without '$' or '##'";
    return sWhy.empty();
}

bool ParseKeywordLine(const std::string& sLine, const _tKeyClass& keyClass, _tKeyEntry& entry, std::string& sWhy)
{
    size_t nTab = sLine.find('\t');
    entry.type = _tKeyEntry::KEY_KEYWORD;
    entry.sWord = Trim(sLine.substr(0, nTab));
    entry.sClass = keyClass.sName;
    entry.weight = keyClass.weight;
    std::string sWeight = nTab == std::string::npos ? "" : Trim(sLine.substr(nTab + 1));
    if (!IsUsableWord(entry.sWord))
        sWhy = "a keyword may not hold '$' or '##'";
    else if (!sWeight.empty() && !ParseWeight(sWeight, entry.weight))
        sWhy = "bad keyword weight '" + sWeight + "'";
    return sWhy.empty();
}

}  // namespace

const _tKeyClass* CKeywordList::FindClass(const std::string& sName) const
{
    for (const _tKeyClass& keyClass : m_vecClass)
        if (keyClass.sName == sName)
            return &keyClass;
    return nullptr;
}

void CKeywordList::AddClass(const _tKeyClass& keyClass)
{
    if (!FindClass(keyClass.sName))
        m_vecClass.push_back(keyClass);
}

bool CKeywordList::Parse(const std::string& sText, const std::string& sSource, std::string& sError)
{
    CKeywordList parsed;
    _tKeyClass current {kDefaultClass, 1.0};
    int nLine = 0;
    for (std::string sLine : SplitTextLines(sText)) {
        if (++nLine == 1 && sLine.compare(0, 3, "\xEF\xBB\xBF") == 0)
            sLine.erase(0, 3);
        std::string sTrimmed = Trim(sLine);
        if (sTrimmed.empty() || sTrimmed[0] == '#')
            continue;
        std::string sWhy;
        _tKeyEntry entry;
        size_t nArrow = sTrimmed.find(kArrow);
        if (sTrimmed.compare(0, 6, "@class") == 0 && (sTrimmed.size() == 6 || sTrimmed[6] == ' ' || sTrimmed[6] == '\t')) {
            if (ParseClassLine(sTrimmed, current, sWhy))
                parsed.AddClass(current);
        } else if (nArrow != std::string::npos) {
            if (ParseErrorWordLine(sTrimmed, nArrow, entry, sWhy))
                parsed.m_vecEntry.push_back(entry);
        } else if (ParseKeywordLine(sTrimmed, current, entry, sWhy)) {
            parsed.AddClass(current);
            parsed.m_vecEntry.push_back(entry);
        }
        if (!sWhy.empty()) {
            sError = sSource + ":" + std::to_string(nLine) + ": " + sWhy;
            return false;
        }
    }
    Append(parsed);
    return true;
}

void CKeywordList::Append(const CKeywordList& other)
{
    for (const _tKeyClass& keyClass : other.m_vecClass)
        AddClass(keyClass);
    m_vecEntry.insert(m_vecEntry.end(), other.m_vecEntry.begin(), other.m_vecEntry.end());
}

int CKeywordList::AddPinyinInitials()
{
    std::vector<_tKeyEntry> vecAdded;
    for (const _tKeyEntry& entry : m_vecEntry) {
        if (entry.type != _tKeyEntry::KEY_KEYWORD)
            continue;
        std::string sInitials = PinyinInitials(entry.sWord);
        if (sInitials.size() < 2)
            continue;
        _tKeyEntry initials = entry;
        initials.sWord = sInitials;
        vecAdded.push_back(initials);
    }
    m_vecEntry.insert(m_vecEntry.end(), vecAdded.begin(), vecAdded.end());
    return static_cast<int>(vecAdded.size());
}

std::string CKeywordList::ToText() const
{
    std::string sText;
    const _tKeyClass* pCurrent = nullptr;
    for (const _tKeyEntry& entry : m_vecEntry) {
        if (entry.type != _tKeyEntry::KEY_KEYWORD) {
            sText += entry.sWord + kArrow + entry.sRight + "\n";
            continue;
        }
        if (!pCurrent || pCurrent->sName != entry.sClass) {
            pCurrent = FindClass(entry.sClass);
            double weight = pCurrent ? pCurrent->weight : 1.0;
            sText += "@class " + entry.sClass + " " + FormatWeight(weight) + "\n";
        }
        sText += entry.sWord + "\t" + FormatWeight(entry.weight) + "\n";
    }
    return sText;
}
