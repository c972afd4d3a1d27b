// The settings file is tiny and written by us, so a plain element search
// is enough; values are trimmed and compared without regard to case.
#include "Segmenter/SegmenterConfigure.h"

#include <strings.h>

#include "Utility/FileUtility.h"

namespace {

std::string ElementText(const std::string& sXml, const std::string& sName)
{
    std::string sOpen = "<" + sName + ">";
    size_t nStart = sXml.find(sOpen);
    if (nStart == std::string::npos)
        return std::string();
    nStart += sOpen.size();
    size_t nEnd = sXml.find("</" + sName + ">", nStart);
    if (nEnd == std::string::npos)
        return std::string();
    std::string sText = sXml.substr(nStart, nEnd - nStart);
    const char* sBlank = " \t\r\n";
    size_t nFirst = sText.find_first_not_of(sBlank);
    if (nFirst == std::string::npos)
        return std::string();
    return sText.substr(nFirst, sText.find_last_not_of(sBlank) - nFirst + 1);
}

}  // namespace

void ParseSegmenterConfigure(const std::string& sXml, _tSegmenterConfigure& config)
{
    std::string sLog = ElementText(sXml, "Log");
    if (strcasecmp(sLog.c_str(), "off") == 0)
        config.bLog = false;
    else if (strcasecmp(sLog.c_str(), "on") == 0)
        config.bLog = true;
}

bool ReadSegmenterConfigure(const std::string& sPath, _tSegmenterConfigure& config)
{
    std::string sXml;
    if (!ReadWholeFile(sPath, sXml, 1 << 20))
        return false;
    ParseSegmenterConfigure(sXml, config);
    return true;
}
