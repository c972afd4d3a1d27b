// A small tag stripper is enough here: the result feeds the plain-text
// import, which only needs the words and the line structure.
#include "Utility/EncodingConverter.h"
#include "Convert/HtmlToText.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

const char* const kBlockTags[] = {"p", "div", "br", "tr", "li", "h1", "h2", "h3", "h4", "h5",
                                  "h6", "table", "title", "ul", "ol", "blockquote", "pre",
                                  "section", "article", "header", "footer", "dt", "dd"};

// Decodes the entity at sHtml[nPos] ('&'); the number of bytes used, 0 when
// it is not an entity.
size_t DecodeEntity(const std::string& sHtml, size_t nPos, std::string& sOut)
{
    size_t nSemi = sHtml.find(';', nPos);
    if (nSemi == std::string::npos || nSemi - nPos > 10)
        return 0;
    std::string sName = sHtml.substr(nPos + 1, nSemi - nPos - 1);
    static const struct {
        const char* sName;
        const char* sText;
    } kNamed[] = {{"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"},
                  {"nbsp", " "}, {"ensp", " "}, {"emsp", " "}, {"middot", "\xC2\xB7"},
                  {"ldquo", "\xE2\x80\x9C"}, {"rdquo", "\xE2\x80\x9D"}, {"lsquo", "\xE2\x80\x98"},
                  {"rsquo", "\xE2\x80\x99"}, {"hellip", "\xE2\x80\xA6"}, {"mdash", "\xE2\x80\x94"},
                  {"ndash", "\xE2\x80\x93"}, {"copy", "\xC2\xA9"}, {"reg", "\xC2\xAE"}};
    if (!sName.empty() && sName[0] == '#') {
        bool bHex = sName.size() > 1 && (sName[1] == 'x' || sName[1] == 'X');
        const char* sDigits = sName.c_str() + (bHex ? 2 : 1);
        char* pEnd = nullptr;
        unsigned long nCode = std::strtoul(sDigits, &pEnd, bHex ? 16 : 10);
        if (pEnd == sDigits || *pEnd != '\0')
            return 0;
        AppendUtf8(sOut, nCode);
        return nSemi - nPos + 1;
    }
    for (const auto& entity : kNamed) {
        if (sName == entity.sName) {
            sOut += entity.sText;
            return nSemi - nPos + 1;
        }
    }
    return 0;
}

std::string TagName(const std::string& sHtml, size_t nPos)
{
    size_t i = nPos + 1;
    if (i < sHtml.size() && sHtml[i] == '/')
        ++i;
    std::string sName;
    while (i < sHtml.size() && std::isalnum(static_cast<unsigned char>(sHtml[i])))
        sName += static_cast<char>(std::tolower(static_cast<unsigned char>(sHtml[i++])));
    return sName;
}

bool IsBlockTag(const std::string& sName)
{
    for (const char* sTag : kBlockTags) {
        if (sName == sTag)
            return true;
    }
    return false;
}

// Skips a raw-text element (script, style) from its start tag; the position after its end tag.
size_t SkipRawElement(const std::string& sHtml, size_t nPos, const std::string& sName)
{
    std::string sClose = "</" + sName;
    for (size_t i = nPos; i < sHtml.size(); ++i) {
        if (sHtml[i] == '<' && strncasecmp(sHtml.c_str() + i, sClose.c_str(), sClose.size()) == 0) {
            size_t nEnd = sHtml.find('>', i);
            return nEnd == std::string::npos ? sHtml.size() : nEnd + 1;
        }
    }
    return sHtml.size();
}

void TidyLines(std::string& sText)
{
    std::string sOut;
    std::string sLine;
    auto flush = [&]() {
        size_t nFirst = sLine.find_first_not_of(" \t");
        if (nFirst != std::string::npos) {
            size_t nLast = sLine.find_last_not_of(" \t");
            sOut += sLine.substr(nFirst, nLast - nFirst + 1);
            sOut += '\n';
        }
        sLine.clear();
    };
    for (char c : sText) {
        if (c == '\n') {
            flush();
        } else if (c == '\r') {
            continue;
        } else if ((c == ' ' || c == '\t') && !sLine.empty() && sLine.back() == ' ') {
            continue;
        } else {
            sLine += c == '\t' ? ' ' : c;
        }
    }
    flush();
    sText.swap(sOut);
}

}  // namespace

std::string vHtmlToText(const std::string& sHtml)
{
    std::string sOut;
    sOut.reserve(sHtml.size() / 2);
    size_t i = 0;
    while (i < sHtml.size()) {
        char c = sHtml[i];
        if (c == '<') {
            if (sHtml.compare(i, 4, "<!--") == 0) {
                size_t nEnd = sHtml.find("-->", i + 4);
                i = nEnd == std::string::npos ? sHtml.size() : nEnd + 3;
                continue;
            }
            std::string sName = TagName(sHtml, i);
            size_t nEnd = sHtml.find('>', i);
            size_t nNext = nEnd == std::string::npos ? sHtml.size() : nEnd + 1;
            bool bClosing = i + 1 < sHtml.size() && sHtml[i + 1] == '/';
            // Scripts and styles are no text; the head holds only meta data.
            if (!bClosing && (sName == "script" || sName == "style" || sName == "head"))
                nNext = SkipRawElement(sHtml, nNext, sName);
            if (IsBlockTag(sName))
                sOut += '\n';
            else if (sName == "td" || sName == "th")
                sOut += '\t';
            i = nNext;
        } else if (c == '&') {
            size_t nUsed = DecodeEntity(sHtml, i, sOut);
            if (nUsed == 0)
                sOut += c;
            i += nUsed ? nUsed : 1;
        } else {
            sOut += (c == '\n' || c == '\r') ? ' ' : c;
            ++i;
        }
    }
    TidyLines(sOut);
    return sOut;
}

std::string HtmlDeclaredCharset(const std::string& sHtml)
{
    size_t nLimit = std::min<size_t>(sHtml.size(), 8192);
    for (size_t i = 0; i + 8 <= nLimit; ++i) {
        if (strncasecmp(sHtml.c_str() + i, "charset=", 8) != 0)
            continue;
        size_t nPos = i + 8;
        if (nPos < sHtml.size() && (sHtml[nPos] == '"' || sHtml[nPos] == '\''))
            ++nPos;
        std::string sCharset;
        while (nPos < sHtml.size() &&
               (std::isalnum(static_cast<unsigned char>(sHtml[nPos])) || sHtml[nPos] == '-' || sHtml[nPos] == '_'))
            sCharset += sHtml[nPos++];
        return sCharset;
    }
    return std::string();
}
