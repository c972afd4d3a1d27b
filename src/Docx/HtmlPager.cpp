// Paging of a labelled export. Every cut lies at the start of a labelled
// tag or right after a table or block, so each page starts with a
// paragraph id and holds whole tables.
#include "Docx/HtmlPager.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "Convert/HtmlEscape.h"

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr std::string_view kLabel = "  name=\"0";
constexpr std::string_view kSection = "<div class=WordSection";

// Right after <head>: the marker of our pages, their style sheets and
// scripts (written beside the pages).
const char kHeadLinks[] =
    "\r\n<meta name=\"generator\" content=\"veskar pages\">\r\n"
    "<link href=\"css/3.3.2bootatrap.min.css\" rel=\"stylesheet\" type=\"text/css\">\r\n"
    "<link href=\"css/commen.css\" rel=\"stylesheet\" type=\"text/css\">\r\n"
    "<link href=\"css/error%20correction%20result5.css\" rel=\"stylesheet\" type=\"text/css\">\r\n"
    "<link href=\"css/left_nav4.css\" rel=\"stylesheet\" type=\"text/css\">\r\n"
    "<script type=\"text/javascript\" src=\"js/left_nav3.js\"></script>\r\n"
    "<script type=\"text/javascript\" src=\"js/jquery-1.11.3.min.js\"></script>\r\n"
    "<script type=\"text/javascript\" src=\"js/3.3.2bootstrap.min.js\"></script>\r\n";

// The looks of the revision marks the reviser writes into the pages.
const char kMarkStyles[] =
    "span.msoIns\r\n\t{mso-style-type:export-only;\r\n\tmso-style-name:\"\";\r\n"
    "\ttext-decoration:underline;\r\n\ttext-underline:single;\r\n\tcolor:teal;}\r\n"
    "span.msoDel\r\n\t{mso-style-type:export-only;\r\n\tmso-style-name:\"\";\r\n"
    "\ttext-decoration:line-through;\r\n\tcolor:red;}\r\n";

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// sNeedle (lower case) without regard to case, in [nFrom, nTo).
size_t FindNoCase(std::string_view s, std::string_view sNeedle, size_t nFrom, size_t nTo = npos)
{
    nTo = std::min(nTo, s.size());
    for (size_t i = s.find('<', nFrom); i != npos && i + sNeedle.size() <= nTo; i = s.find('<', i + 1)) {
        size_t k = 0;
        while (k < sNeedle.size() && Lower(s[i + k]) == sNeedle[k])
            ++k;
        if (k == sNeedle.size())
            return i;
    }
    return npos;
}

bool EndsName(std::string_view s, size_t nPos)
{
    if (nPos >= s.size())
        return false;
    char c = s[nPos];
    return c == ' ' || c == '>' || c == '/' || c == '\r' || c == '\n' || c == '\t';
}

bool IsTag(std::string_view s, size_t nPos, std::string_view sName, bool bClosing)
{
    size_t nName = nPos + (bClosing ? 2 : 1);
    if (nName + sName.size() > s.size() || s[nPos] != '<' || (bClosing && s[nPos + 1] != '/'))
        return false;
    for (size_t k = 0; k < sName.size(); ++k) {
        if (Lower(s[nName + k]) != sName[k])
            return false;
    }
    return EndsName(s, nName + sName.size());
}

size_t AfterTag(std::string_view s, size_t nPos)
{
    size_t nEnd = s.find('>', nPos);
    return nEnd == npos ? s.size() : nEnd + 1;
}

// The text between ascending cuts (the first at 0).
std::vector<std::string_view> Pieces(std::string_view sText, const std::vector<size_t>& vecCuts)
{
    std::vector<std::string_view> vecPieces;
    for (size_t i = 0; i < vecCuts.size(); ++i) {
        size_t nEnd = i + 1 < vecCuts.size() ? vecCuts[i + 1] : sText.size();
        vecPieces.push_back(sText.substr(vecCuts[i], nEnd - vecCuts[i]));
    }
    return vecPieces;
}

std::string PageLink(const std::string& sName, size_t nPage)
{
    return HtmlAttrEscape(UrlPathEscape(sName)) + "_" + std::to_string(nPage) + ".htm";
}

}  // namespace

size_t CHtmlPager::BodyStart(std::string_view sHtml)
{
    size_t nBody = FindNoCase(sHtml, "<body", 0);
    while (nBody != npos && !EndsName(sHtml, nBody + 5))
        nBody = FindNoCase(sHtml, "<body", nBody + 1);
    return nBody == npos ? 0 : AfterTag(sHtml, nBody);
}

size_t CHtmlPager::BodyEnd(std::string_view sHtml, size_t nBodyStart)
{
    size_t nEnd = npos;
    for (size_t i = FindNoCase(sHtml, "</body", nBodyStart); i != npos; i = FindNoCase(sHtml, "</body", i + 1))
        nEnd = i;
    return nEnd == npos ? sHtml.size() : nEnd;
}

void CHtmlPager::CutComments(std::string& sHtml)
{
    size_t nComments = sHtml.find("<hr class=msocomoff");
    if (nComments == std::string::npos)
        return;
    sHtml.resize(nComments);
    sHtml += "\r\n</div>\r\n</body>\r\n</html>";
}

std::string CHtmlPager::PagePrefix(std::string_view sHtml, size_t nBodyStart)
{
    std::string sPrefix(sHtml.substr(0, nBodyStart));
    size_t nSpan = sPrefix.find("span.");
    if (nSpan != std::string::npos) {
        sPrefix.insert(nSpan, kMarkStyles);
    } else {
        // A page without span styles gets the marks' styles of its own.
        size_t nHeadEnd = FindNoCase(sPrefix, "</head", 0);
        std::string sStyle = std::string("<style>\r\n") + kMarkStyles + "</style>\r\n";
        sPrefix.insert(nHeadEnd == npos ? sPrefix.size() : nHeadEnd, sStyle);
    }
    size_t nHead = FindNoCase(sPrefix, "<head", 0);
    while (nHead != npos && !EndsName(sPrefix, nHead + 5))
        nHead = FindNoCase(sPrefix, "<head", nHead + 1);
    size_t nAt = 0;
    if (nHead != npos) {
        nAt = AfterTag(sPrefix, nHead);
    } else {
        size_t nHtml = FindNoCase(sPrefix, "<html", 0);
        nAt = nHtml == npos ? 0 : AfterTag(sPrefix, nHtml);
    }
    sPrefix.insert(nAt, kHeadLinks);
    return sPrefix;
}

std::vector<std::pair<size_t, size_t>> CHtmlPager::Sections(std::string_view sHtml, size_t nBodyStart,
                                                             size_t nBodyEnd)
{
    std::vector<size_t> vecStarts;
    for (size_t nPos = sHtml.find(kSection, nBodyStart); nPos != npos && nPos < nBodyEnd;
         nPos = sHtml.find(kSection, nPos + kSection.size()))
        vecStarts.push_back(nPos);
    std::vector<std::pair<size_t, size_t>> vecOut;
    if (vecStarts.empty()) {
        if (nBodyEnd > nBodyStart)
            vecOut.emplace_back(nBodyStart, nBodyEnd);
        return vecOut;
    }
    auto endOf = [&](size_t i) { return i < vecStarts.size() ? vecStarts[i] : nBodyEnd; };
    for (size_t i = 0; i < vecStarts.size();) {
        size_t j = i + 1;
        while (endOf(j) - vecStarts[i] < SHORT_SECTION && j < vecStarts.size())
            ++j;
        vecOut.emplace_back(vecStarts[i], endOf(j));
        i = j;
    }
    return vecOut;
}

bool CHtmlPager::FirstLabel(std::string_view sText, uint32_t& nId)
{
    size_t nPos = sText.find(kLabel);
    if (nPos == npos)
        return false;
    // The label's digits up to its closing quote.
    char sDigits[16] = {};
    size_t nDigits = nPos + kLabel.size() - 1;
    size_t k = 0;
    while (k < 8 && nDigits + k < sText.size() && std::isxdigit(static_cast<unsigned char>(sText[nDigits + k]))) {
        sDigits[k] = sText[nDigits + k];
        ++k;
    }
    nId = static_cast<uint32_t>(std::strtoul(sDigits, nullptr, 16));
    return true;
}

size_t CHtmlPager::TagStart(std::string_view sText, size_t nLabel)
{
    size_t nTag = sText.rfind('<', nLabel);
    return nTag == npos ? nLabel : nTag;
}

size_t CHtmlPager::LastLabel(std::string_view sText, size_t nFrom, size_t nTo)
{
    if (nTo <= nFrom)
        return npos;
    size_t nPos = sText.rfind(kLabel, nTo - 1);
    return nPos == npos || nPos < nFrom ? npos : nPos;
}

size_t CHtmlPager::MatchingEnd(std::string_view sText, size_t nStart, std::string_view sName)
{
    int nDepth = 0;
    for (size_t i = sText.find('<', nStart); i != npos; i = sText.find('<', i + 1)) {
        if (IsTag(sText, i, sName, false))
            ++nDepth;
        else if (IsTag(sText, i, sName, true) && --nDepth == 0)
            return AfterTag(sText, i);
    }
    return npos;
}

bool CHtmlPager::EnclosingElement(std::string_view sText, size_t nFrom, size_t nLabel, size_t& nStart,
                                  size_t& nEnd)
{
    // Blocks open at the label, outermost first; the sections' own blocks
    // are no elements to keep whole.
    struct _tOpen {
        size_t nPos;
        bool bSection;
    };
    std::vector<_tOpen> vecDivs;
    std::vector<size_t> vecTables;
    for (size_t i = sText.find('<', nFrom); i != npos && i < nLabel; i = sText.find('<', i + 1)) {
        if (IsTag(sText, i, "div", false))
            vecDivs.push_back({i, sText.compare(i, kSection.size(), kSection) == 0});
        else if (IsTag(sText, i, "div", true) && !vecDivs.empty())
            vecDivs.pop_back();
        else if (IsTag(sText, i, "table", false))
            vecTables.push_back(i);
        else if (IsTag(sText, i, "table", true) && !vecTables.empty())
            vecTables.pop_back();
    }
    for (const _tOpen& open : vecDivs) {
        if (open.bSection)
            continue;
        nStart = open.nPos;
        nEnd = MatchingEnd(sText, nStart, "div");
        if (nEnd != npos)
            return true;
        break;
    }
    if (vecTables.empty())
        return false;
    nStart = vecTables.front();
    nEnd = MatchingEnd(sText, nStart, "table");
    return nEnd != npos;
}

std::vector<std::string_view> CHtmlPager::FurtherSegment(std::string_view sSection, size_t nPiece)
{
    std::vector<size_t> vecCuts = {0};
    size_t nLast = 0;
    size_t nFrom = std::max<size_t>(nPiece, 1);
    while (nFrom < sSection.size()) {
        size_t nLabel = sSection.find(kLabel, nFrom);
        if (nLabel == npos)
            break;
        bool bCut = false;
        size_t nStart = 0, nEnd = 0;
        // The scan for open elements starts past the section's own block.
        if (EnclosingElement(sSection, nLast == 0 ? 1 : nLast, nLabel, nStart, nEnd)) {
            // The element makes a piece of its own, with the paragraph
            // before it (its caption, as a rule).
            size_t nBefore = LastLabel(sSection, nLast, nStart);
            size_t nCut = nBefore == npos ? npos : TagStart(sSection, nBefore);
            if (nCut != npos && nCut > nLast) {
                vecCuts.push_back(nLast = nCut);
                bCut = true;
            }
            if (nEnd >= sSection.size())
                break;
            if (nEnd > nLast) {
                vecCuts.push_back(nLast = nEnd);
                bCut = true;
            }
        } else {
            size_t nCut = TagStart(sSection, nLabel);
            if (nCut > nLast) {
                vecCuts.push_back(nLast = nCut);
                bCut = true;
            }
        }
        nFrom = (bCut ? nLast : nFrom) + std::max<size_t>(nPiece, 1);
    }
    return Pieces(sSection, vecCuts);
}

std::string CHtmlPager::Pager(size_t n, size_t nCount, const std::string& sName)
{
    if (nCount < 2)
        return std::string();
    std::string sOut = "<div class=\"page_normal\">";
    if (n > 0)
        sOut += "<a href=\"" + PageLink(sName, n - 1) + "\" class=\"page_prev\">&lt;</a>";
    long nPage = static_cast<long>(n), nPages = static_cast<long>(nCount);
    long nStart = nPage - 5;
    if (nPage + 10 > nPages)
        nStart = nPages - 10;
    if (nStart < 0)
        nStart = 0;
    for (long i = nStart; i < nPages && (i < nPage + 5 || (i <= 9 && nPage <= 5)); ++i) {
        if (i == nPage)
            sOut += "<a href=\"#\" class=\"page_current\">" + std::to_string(nPage + 1) + "</a>";
        else
            sOut += "<a href=\"" + PageLink(sName, static_cast<size_t>(i)) + "\">" + std::to_string(i + 1) + "</a>";
    }
    if (n + 1 < nCount)
        sOut += "<a href=\"" + PageLink(sName, n + 1) + "\" class=\"page_next\">&gt;</a>";
    sOut += "</div>\r\n";
    return sOut;
}
