// The blank-free search compresses both texts and maps the hits back, so a
// hit never starts or ends on a blank of the text searched.
#include "Utility/StrLocate.h"

#include <string>

#include "Utility/Blanks.h"

namespace {

std::vector<_tStrHit> ExactHits(std::string_view sHay, std::string_view sNeedle, size_t nMaxHits)
{
    std::vector<_tStrHit> vecHits;
    for (size_t nPos = sHay.find(sNeedle); nPos != std::string_view::npos && vecHits.size() < nMaxHits;
         nPos = sHay.find(sNeedle, nPos + 1))
        vecHits.push_back({nPos, nPos + sNeedle.size()});
    return vecHits;
}

std::string WithoutBlanks(std::string_view sText, std::vector<size_t>* pPlaces)
{
    std::string sOut;
    sOut.reserve(sText.size());
    for (size_t i = 0; i < sText.size(); ++i) {
        if (IsBlank(sText[i]))
            continue;
        sOut += sText[i];
        if (pPlaces)
            pPlaces->push_back(i);
    }
    return sOut;
}

}  // namespace

std::vector<_tStrHit> StrLocateAll(std::string_view sHay, std::string_view sNeedle, size_t nMaxHits)
{
    if (sNeedle.empty())
        return {};
    std::vector<_tStrHit> vecHits = ExactHits(sHay, sNeedle, nMaxHits);
    if (!vecHits.empty())
        return vecHits;
    std::string sBareNeedle = WithoutBlanks(sNeedle, nullptr);
    if (sBareNeedle.empty())
        return {};
    std::vector<size_t> vecPlaces;
    std::string sBareHay = WithoutBlanks(sHay, &vecPlaces);
    for (const _tStrHit& hit : ExactHits(sBareHay, sBareNeedle, nMaxHits))
        vecHits.push_back({vecPlaces[hit.nStart], vecPlaces[hit.nEnd - 1] + 1});
    return vecHits;
}
