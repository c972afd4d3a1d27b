// HTML escaping of model text, attribute values and relative URLs.
#include "Convert/HtmlEscape.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace {

struct _tMark {
    std::string_view sMark;
    const char* sHtml;
};

// The vertical-alignment marks the body scanner writes around a run's text.
const _tMark kMarks[] = {{"<superscript>", "<sup>"},
                         {"</superscript>", "</sup>"},
                         {"<subscript>", "<sub>"},
                         {"</subscript>", "</sub>"}};

// "&name;", "&#123;" or "&#x1F;" at nPos: its length, 0 when it is none.
size_t EntityLength(std::string_view sText, size_t nPos)
{
    size_t i = nPos + 1;
    size_t nLimit = std::min(sText.size(), nPos + 12);
    if (i < nLimit && sText[i] == '#')
        ++i;
    size_t nNameStart = i;
    while (i < nLimit && std::isalnum(static_cast<unsigned char>(sText[i])))
        ++i;
    if (i == nNameStart || i >= nLimit || sText[i] != ';')
        return 0;
    return i + 1 - nPos;
}

const char* MarkAt(std::string_view sText, size_t nPos, size_t& nLen)
{
    for (const _tMark& mark : kMarks) {
        if (sText.compare(nPos, mark.sMark.size(), mark.sMark) == 0) {
            nLen = mark.sMark.size();
            return mark.sHtml;
        }
    }
    return nullptr;
}

}  // namespace

void AppendHtmlText(std::string& sOut, std::string_view sText)
{
    sOut.reserve(sOut.size() + sText.size() + 16);
    size_t nPos = 0;
    while (nPos < sText.size()) {
        size_t nNext = sText.find_first_of("&<>", nPos);
        if (nNext == std::string_view::npos)
            nNext = sText.size();
        sOut.append(sText.data() + nPos, nNext - nPos);
        if (nNext == sText.size())
            break;
        char c = sText[nNext];
        size_t nLen = 1;
        if (c == '&') {
            size_t nEntity = EntityLength(sText, nNext);
            if (nEntity) {
                sOut.append(sText.data() + nNext, nEntity);
                nLen = nEntity;
            } else {
                sOut += "&amp;";
            }
        } else if (c == '<') {
            const char* sHtml = MarkAt(sText, nNext, nLen);
            sOut += sHtml ? sHtml : "&lt;";
        } else {
            sOut += "&gt;";
        }
        nPos = nNext + nLen;
    }
}

std::string HtmlAttrEscape(std::string_view sText)
{
    std::string sOut;
    sOut.reserve(sText.size());
    for (char c : sText) {
        switch (c) {
        case '&': sOut += "&amp;"; break;
        case '<': sOut += "&lt;"; break;
        case '>': sOut += "&gt;"; break;
        case '"': sOut += "&quot;"; break;
        case '\'': sOut += "&#39;"; break;
        default: sOut += c;
        }
    }
    return sOut;
}

std::string UrlPathEscape(std::string_view sPath)
{
    static const std::string_view kUnsafe = " \"#%?'<>\\`{}|^[]";
    std::string sOut;
    sOut.reserve(sPath.size());
    for (char c : sPath) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || kUnsafe.find(c) != std::string_view::npos) {
            char sBuf[4];
            std::snprintf(sBuf, sizeof sBuf, "%%%02X", u);
            sOut += sBuf;
        } else {
            sOut += c;
        }
    }
    return sOut;
}
