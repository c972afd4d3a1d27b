// Addresses are found around each "@": the longest run of address bytes on
// either side, trimmed of dots, with a domain of at least two labels and a
// top-level label of letters. Names are read backwards from the address.
#include "RUX/EmailFinder.h"

#include <cctype>

namespace {

bool IsLocalByte(unsigned char c)
{
    return std::isalnum(c) || c == '.' || c == '_' || c == '%' || c == '+' || c == '-';
}

bool IsDomainByte(unsigned char c)
{
    return std::isalnum(c) || c == '.' || c == '-';
}

std::string Unescape(const std::string& sText)
{
    std::string sOut;
    for (size_t i = 0; i < sText.size(); ++i) {
        if (sText.compare(i, 4, "&lt;") == 0) {
            sOut += '<';
            i += 3;
        } else if (sText.compare(i, 4, "&gt;") == 0) {
            sOut += '>';
            i += 3;
        } else {
            sOut += sText[i];
        }
    }
    return sOut;
}

bool ValidDomain(const std::string& sDomain)
{
    size_t nDot = sDomain.find_last_of('.');
    if (nDot == std::string::npos || nDot == 0 || sDomain.size() - nDot - 1 < 2)
        return false;
    for (size_t i = nDot + 1; i < sDomain.size(); ++i)
        if (!std::isalpha(static_cast<unsigned char>(sDomain[i])))
            return false;
    return sDomain.find("..") == std::string::npos && sDomain[0] != '-';
}

// Skips backwards over blanks, quotes and opening brackets before nPos.
size_t SkipBackBlanks(const std::string& sText, size_t nPos)
{
    static const std::string kSkip = " \t<([\"'";
    while (nPos > 0 && kSkip.find(sText[nPos - 1]) != std::string::npos)
        --nPos;
    // full-width brackets and the ideographic space: 《 （ 【 “ 　
    static const char* const kWide[] = {"\xE3\x80\x8A", "\xEF\xBC\x88", "\xE3\x80\x90", "\xE2\x80\x9C",
                                        "\xE3\x80\x80"};
    for (bool bMoved = true; bMoved;) {
        bMoved = false;
        for (const char* sWide : kWide) {
            if (nPos >= 3 && sText.compare(nPos - 3, 3, sWide) == 0) {
                nPos -= 3;
                bMoved = true;
            }
        }
        while (nPos > 0 && kSkip.find(sText[nPos - 1]) != std::string::npos) {
            --nPos;
            bMoved = true;
        }
    }
    return nPos;
}

bool IsCjkAt(const std::string& sText, size_t nPos)
{
    // U+4E00..U+9FFF: lead bytes E4..E9
    unsigned char c = static_cast<unsigned char>(sText[nPos]);
    return nPos + 2 < sText.size() && c >= 0xE4 && c <= 0xE9;
}

// The Latin name (letters, blanks, dots, hyphens) ending at nEnd.
size_t LatinNameStart(const std::string& sText, size_t nEnd)
{
    size_t nStart = nEnd;
    while (nStart > 0) {
        unsigned char c = static_cast<unsigned char>(sText[nStart - 1]);
        if (!(std::isalpha(c) || c == ' ' || c == '.' || c == '-'))
            break;
        --nStart;
    }
    while (nStart < nEnd && sText[nStart] == ' ')
        ++nStart;
    return nStart;
}

// The Chinese name ending at nEnd (2 to 10 characters), or nEnd.
size_t ChineseNameStart(const std::string& sText, size_t nEnd)
{
    size_t nStart = nEnd;
    while (nStart >= 3 && nEnd - nStart < 30 && IsCjkAt(sText, nStart - 3))
        nStart -= 3;
    return nEnd - nStart >= 6 ? nStart : nEnd;
}

std::string DirectionBefore(const std::string& sText, size_t nPos)
{
    size_t nFrom = nPos > 60 ? nPos - 60 : 0;
    std::string sWindow = sText.substr(nFrom, nPos - nFrom);
    static const struct { const char* sLabel; const char* sDirection; } kLabels[] = {
        {"\xE5\x8F\x91\xE4\xBB\xB6\xE4\xBA\xBA", "from"},  // 发件人
        {"\xE6\x94\xB6\xE4\xBB\xB6\xE4\xBA\xBA", "to"},    // 收件人
        {"\xE6\x8A\x84\xE9\x80\x81", "cc"},                // 抄送
        {"From:", "from"}, {"To:", "to"}, {"Cc:", "cc"}};
    size_t nBest = std::string::npos;
    std::string sDirection;
    for (const auto& label : kLabels) {
        size_t nHit = sWindow.rfind(label.sLabel);
        if (nHit != std::string::npos && (nBest == std::string::npos || nHit > nBest)) {
            nBest = nHit;
            sDirection = label.sDirection;
        }
    }
    return sDirection;
}

void ReadNames(const std::string& sText, size_t nAddress, _email& email)
{
    size_t nEnd = SkipBackBlanks(sText, nAddress);
    size_t nLatin = LatinNameStart(sText, nEnd);
    if (nLatin < nEnd && std::isalpha(static_cast<unsigned char>(sText[nLatin]))) {
        email.enName = sText.substr(nLatin, nEnd - nLatin);
        while (!email.enName.empty() && email.enName.back() == ' ')
            email.enName.pop_back();
        nEnd = SkipBackBlanks(sText, nLatin);
    }
    size_t nChinese = ChineseNameStart(sText, nEnd);
    if (nChinese < nEnd)
        email.cnName = sText.substr(nChinese, nEnd - nChinese);
}

}  // namespace

std::vector<_email> FindEmails(const std::string& sInput)
{
    std::string sText = Unescape(sInput);
    std::vector<_email> vecFound;
    size_t nSearch = 0;
    for (size_t nAt = sText.find('@'); nAt != std::string::npos; nAt = sText.find('@', nSearch)) {
        nSearch = nAt + 1;
        size_t nStart = nAt;
        while (nStart > 0 && IsLocalByte(static_cast<unsigned char>(sText[nStart - 1])))
            --nStart;
        while (nStart < nAt && sText[nStart] == '.')
            ++nStart;
        size_t nEnd = nAt + 1;
        while (nEnd < sText.size() && IsDomainByte(static_cast<unsigned char>(sText[nEnd])))
            ++nEnd;
        while (nEnd > nAt + 1 && (sText[nEnd - 1] == '.' || sText[nEnd - 1] == '-'))
            --nEnd;
        std::string sLocal = sText.substr(nStart, nAt - nStart);
        std::string sDomain = sText.substr(nAt + 1, nEnd - nAt - 1);
        if (sLocal.empty() || sLocal.back() == '.' || !ValidDomain(sDomain))
            continue;
        _email email;
        email.username = sLocal;
        email.domainname = sDomain;
        email.offset = nStart;
        email.direction = DirectionBefore(sText, nStart);
        ReadNames(sText, nStart, email);
        vecFound.push_back(email);
        nSearch = nEnd;
    }
    return vecFound;
}
