// Helpers over heading numbers; see the header.
#include "Checker/SectionNumberText.h"

#include "Utility/EncodingConverter.h"
#include "Utility/NumUtility.h"

std::string GbkFieldToUtf8(const std::string& sGbk)
{
    std::string sUtf8;
    if (sGbk.empty() || !GbkToUtf8(sGbk, sUtf8))
        return sGbk;
    return sUtf8;
}

std::string WrittenNumber(const _tSection_Info& info, bool bWithPost)
{
    std::string sGbk = info.prefix + info.chapter_id + info.section_sep + info.text;
    if (bWithPost)
        sGbk += info.post;
    return GbkFieldToUtf8(sGbk);
}

int ChapterDepth(const std::string& sChapter)
{
    if (sChapter.empty())
        return 0;
    int nDepth = 1;
    for (char c : sChapter) {
        if (c == '.' || c == '-')
            ++nDepth;
    }
    return nDepth;
}

int NumberDepth(const _tSection_Info& info)
{
    if (info.num_format < 0)
        return 0;
    if (info.level < 0)
        return -1;
    return info.level + 1;
}

bool ChapterBeginsWith(const std::string& sChapter, const std::string& sHead)
{
    if (sChapter.compare(0, sHead.size(), sHead) != 0)
        return false;
    if (sChapter.size() == sHead.size())
        return true;
    char c = sChapter[sHead.size()];
    return c == '.' || c == '-';
}

int ReadPartNumber(CNumUtility& numbers, const std::string& sText, bool bFormula, _tSection_Info& info)
{
    if (!bFormula)
        return numbers.ExtractOrder(sText.c_str(), info, -1);
    size_t nOpen = sText.rfind('(');
    std::string sTail = nOpen == std::string::npos ? sText : sText.substr(nOpen);
    return numbers.ExtractOrder(sTail.c_str(), info, SECTION_TYPE_FORMULA);
}

std::string FirstCharacter(const std::string& sText)
{
    if (sText.empty())
        return std::string();
    unsigned char c = static_cast<unsigned char>(sText[0]);
    size_t nLen = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    return sText.substr(0, nLen);
}
