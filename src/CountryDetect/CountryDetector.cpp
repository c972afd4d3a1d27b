// The detector's list is loaded once at start-up and only read afterwards.
#include "CountryDetect/CountryDetector.h"

#include <memory>
#include <mutex>

#include "CountryDetect/CountryList.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"

namespace {
std::mutex g_mutexCountry;
std::shared_ptr<const CCountryList> g_pCountries;
}  // namespace

int CountryDetect_Init(const char* sInitDir)
{
    std::string sText;
    if (!sInitDir || !ReadWholeFile(JoinPath(sInitDir, "Data/Country/countries.txt"), sText, 1 << 22))
        return 0;
    auto pList = std::make_shared<CCountryList>();
    if (pList->Parse(sText) == 0)
        return 0;
    std::lock_guard<std::mutex> lock(g_mutexCountry);
    g_pCountries = pList;
    return 1;
}

void CountryDetect_Exit()
{
    std::lock_guard<std::mutex> lock(g_mutexCountry);
    g_pCountries.reset();
}

int CountryDetect_Compute(const char* sGbkText, std::vector<std::string>& vecCountries,
                          std::vector<std::string>& vecEnglish)
{
    vecCountries.clear();
    vecEnglish.clear();
    std::shared_ptr<const CCountryList> pList;
    {
        std::lock_guard<std::mutex> lock(g_mutexCountry);
        pList = g_pCountries;
    }
    if (!pList)
        return -1;
    std::string sUtf8;
    GbkToUtf8(sGbkText ? sGbkText : "", sUtf8);
    for (size_t nIndex : pList->Find(sUtf8)) {
        std::string sGbk;
        Utf8ToGbk(pList->Country(nIndex).sChinese, sGbk);
        vecCountries.push_back(sGbk);
        vecEnglish.push_back(pList->Country(nIndex).sEnglish);
    }
    return static_cast<int>(vecCountries.size());
}
