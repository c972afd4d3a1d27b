// Dictionary test helpers.
#include "support/DictTestUtil.h"

#include "Utility/EncodingConverter.h"
#include "Utility/PDAT.h"

std::string Gbk(const std::string& sUtf8)
{
    std::string sGbk;
    Utf8ToGbk(sUtf8, sGbk);
    return sGbk;
}

void BuildDict(CPDAT& dict, const std::vector<std::string>& vecWords)
{
    dict.AddWordInit();
    for (const std::string& sWord : vecWords)
        dict.AddWord(sWord.c_str());
    dict.AddWordComplete();
}
