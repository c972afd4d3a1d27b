// Answers are built in one string, sized ahead from the values.
#include "SearchAnswer.h"

#include "Utility/XmlText.h"

namespace {

void AppendElement(std::string& sOut, const std::string& sName, const std::string& sValue)
{
    sOut += '<';
    sOut += sName;
    sOut += '>';
    XmlEscapeAppend(sOut, sValue);
    sOut += "</";
    sOut += sName;
    sOut += '>';
}

std::string Numbers(size_t nTotal, size_t nReturned)
{
    return "<Total-Number>" + std::to_string(nTotal) + "</Total-Number><Return-Number>" + std::to_string(nReturned) +
           "</Return-Number>";
}

}  // namespace

std::string CSearchAnswer::Write(const _tSearchResult& result)
{
    size_t nSize = 80;
    for (const auto& document : result.vecDocuments) {
        nSize += 21;
        for (const auto& field : document)
            nSize += 2 * field.first.size() + field.second.size() + 5;
    }
    std::string sOut = Numbers(result.nTotal, result.vecDocuments.size());
    sOut.reserve(nSize);
    for (const auto& document : result.vecDocuments) {
        sOut += "<Document>";
        for (const auto& field : document)
            AppendElement(sOut, field.first, field.second);
        sOut += "</Document>";
    }
    return sOut;
}

std::string CSearchAnswer::Refusal(const std::string& sWhy)
{
    std::string sOut = Numbers(0, 0);
    AppendElement(sOut, "Error", sWhy);
    return sOut;
}
