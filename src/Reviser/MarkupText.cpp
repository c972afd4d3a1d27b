#include "Reviser/MarkupText.h"

#include <cctype>

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiAlnum(char c)
{
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// "&name;", "&#123;" or "&#x1F;" at nPos.
bool IsReference(const std::string& sText, size_t nPos)
{
    size_t i = nPos + 1;
    bool bNumeric = i < sText.size() && sText[i] == '#';
    bool bHex = bNumeric && i + 1 < sText.size() && (sText[i + 1] == 'x' || sText[i + 1] == 'X');
    i += bNumeric ? (bHex ? 2 : 1) : 0;
    size_t nFirst = i;
    while (i < sText.size() && i - nFirst < 32 &&
           (bHex ? std::isxdigit(static_cast<unsigned char>(sText[i])) != 0
                 : (bNumeric ? (sText[i] >= '0' && sText[i] <= '9') : IsAsciiAlnum(sText[i]))))
        ++i;
    if (i == nFirst || i >= sText.size() || sText[i] != ';')
        return false;
    return bNumeric || IsAsciiLetter(sText[nFirst]);
}

// The name of an opening tag "<name>" at nPos, "" when there is none.
std::string OpeningTag(const std::string& sText, size_t nPos)
{
    size_t i = nPos + 1;
    while (i < sText.size() && IsAsciiLetter(sText[i]))
        ++i;
    if (i == nPos + 1 || i >= sText.size() || sText[i] != '>')
        return "";
    return sText.substr(nPos + 1, i - nPos - 1);
}

void AddPlain(std::vector<_tMarkupPart>& vecParts, const std::string& sText)
{
    if (sText.empty())
        return;
    if (!vecParts.empty() && vecParts.back().tag.empty())
        vecParts.back().text += sText;
    else
        vecParts.push_back({"", sText});
}

}  // namespace

std::vector<_tMarkupPart> CMarkupText::Split(const std::string& sText)
{
    std::vector<_tMarkupPart> vecParts;
    size_t nPlain = 0;
    for (size_t nPos = sText.find('<'); nPos != std::string::npos; nPos = sText.find('<', nPos + 1)) {
        std::string sTag = OpeningTag(sText, nPos);
        if (sTag.empty())
            continue;
        size_t nInner = nPos + sTag.size() + 2;
        size_t nClose = sText.find("</" + sTag + ">", nInner);
        if (nClose == std::string::npos)
            continue;
        AddPlain(vecParts, sText.substr(nPlain, nPos - nPlain));
        vecParts.push_back({sTag, sText.substr(nInner, nClose - nInner)});
        nPlain = nClose + sTag.size() + 3;
        nPos = nPlain - 1;
    }
    AddPlain(vecParts, sText.substr(nPlain));
    return vecParts;
}

std::string CMarkupText::EscapeText(const std::string& sText)
{
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size(); ++i) {
        char c = sText[i];
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '<')
            sOut += "&lt;";
        else if (c == '>')
            sOut += "&gt;";
        else if (c == '&' && !IsReference(sText, i))
            sOut += "&amp;";
        else if (u >= 0x20 || c == '\t' || c == '\n' || c == '\r')
            sOut += c;
    }
    return sOut;
}

std::string CMarkupText::AlignValue(const std::string& sTag)
{
    if (sTag == "superscript" || sTag == "sup")
        return "superscript";
    if (sTag == "subscript" || sTag == "sub")
        return "subscript";
    if (sTag == "baseline")
        return "baseline";
    return "";
}

std::string CMarkupText::WithoutAlignTags(const std::string& sText)
{
    std::string sOut;
    for (const _tMarkupPart& part : Split(sText)) {
        if (part.tag.empty() || AlignValue(part.tag).empty())
            sOut += part.tag.empty() ? part.text : "<" + part.tag + ">" + part.text + "</" + part.tag + ">";
        else
            sOut += part.text;
    }
    return sOut;
}
