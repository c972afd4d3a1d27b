// Arbitrary text as the search service's answer: the numbers, documents and
// their fields, then every field looked up, the way the citation checks
// read an answer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "RUX/StandardNumber.h"
#include "SearchClient/SearchResultParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    std::string sAnswer(reinterpret_cast<const char*>(pData), nSize);
    std::vector<_tSearchDocument> vecDocuments;
    int nReturned = CSearchResultParser::GetSearchResult(sAnswer, vecDocuments);
    if (nReturned <= 0 ? !vecDocuments.empty() : vecDocuments.size() > static_cast<size_t>(nReturned))
        std::abort();  // never more documents than the answer says it returns
    for (const _tSearchDocument& document : vecDocuments)
        for (const auto& field : document) {
            CSearchResultParser::Field(document, field.first);
            _tTiaowenHao number;
            CStandardNumber::TiaowenHaoStandard(field.second, number);
        }
    int nFollowing = 0;
    CStandardNumber::TiaowenStandard(sAnswer, nFollowing);
    return 0;
}
