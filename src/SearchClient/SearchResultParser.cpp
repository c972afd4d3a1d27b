// The answer is outside input: every read is bounded by the text, and a
// malformed element ends its document instead of the whole answer.
#include "SearchClient/SearchResultParser.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "Convert/HtmlToText.h"
#include "Utility/Blanks.h"

namespace {

const char kDocOpen[] = "<Document>";
const char kDocClose[] = "</Document>";

}  // namespace

int CSearchResultParser::Number(const std::string& sAnswer, const char* sName)
{
    std::string sOpen = std::string("<") + sName + ">";
    size_t nAt = sAnswer.find(sOpen);
    if (nAt == std::string::npos)
        return -1;
    const char* pStart = sAnswer.c_str() + nAt + sOpen.size();
    char* pEnd = nullptr;
    errno = 0;
    long n = std::strtol(pStart, &pEnd, 10);
    if (pEnd == pStart || errno || n > INT_MAX || n < INT_MIN)
        return -1;
    return static_cast<int>(n);
}

int CSearchResultParser::TotalNumber(const std::string& sAnswer)
{
    return Number(sAnswer, "Total-Number");
}

// "<name>value</name>" after each other; text between elements is skipped.
void CSearchResultParser::ReadDocument(const std::string& sBody, _tSearchDocument& document)
{
    size_t nPos = 0;
    while ((nPos = sBody.find('<', nPos)) != std::string::npos) {
        size_t nNameEnd = sBody.find('>', nPos);
        if (nNameEnd == std::string::npos)
            return;
        std::string sName = sBody.substr(nPos + 1, nNameEnd - nPos - 1);
        if (sName.empty() || sName[0] == '/') {
            nPos = nNameEnd + 1;
            continue;
        }
        size_t nClose = sBody.find("</" + sName + ">", nNameEnd + 1);
        if (nClose == std::string::npos)
            return;
        document.emplace_back(sName, Trim(vHtmlToText(sBody.substr(nNameEnd + 1, nClose - nNameEnd - 1))));
        nPos = nClose + sName.size() + 3;
    }
}

int CSearchResultParser::GetSearchResult(const std::string& sAnswer, std::vector<_tSearchDocument>& vecDocuments)
{
    vecDocuments.clear();
    int nReturned = Number(sAnswer, "Return-Number");
    if (nReturned <= 0)
        return nReturned;
    size_t nPos = 0;
    for (int i = 0; i < nReturned; ++i) {
        size_t nOpen = sAnswer.find(kDocOpen, nPos);
        if (nOpen == std::string::npos)
            break;
        size_t nBody = nOpen + sizeof(kDocOpen) - 1;
        size_t nClose = sAnswer.find(kDocClose, nBody);
        if (nClose == std::string::npos)
            break;
        vecDocuments.emplace_back();
        ReadDocument(sAnswer.substr(nBody, nClose - nBody), vecDocuments.back());
        nPos = nClose + sizeof(kDocClose) - 1;
    }
    return nReturned;
}

std::string CSearchResultParser::Field(const _tSearchDocument& document, const std::string& sName)
{
    for (const auto& field : document)
        if (strcasecmp(field.first.c_str(), sName.c_str()) == 0)
            return field.second;
    return "";
}
