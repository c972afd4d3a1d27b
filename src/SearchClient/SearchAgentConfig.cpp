// Elements are read as the text between their opening and closing tags; a
// port that is no whole number stays -1, and a time limit outside one
// second to a day falls back to the default.
#include "SearchClient/SearchAgentConfig.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "Utility/FileUtility.h"
#include "Utility/XmlText.h"

namespace {

std::string Element(const std::string& sXml, const char* sName)
{
    std::string sValue;
    if (!XmlElementText(sXml, sName, 0, sXml.size(), sValue))
        return "";
    size_t nFirst = sValue.find_first_not_of(" \t\r\n");
    size_t nLast = sValue.find_last_not_of(" \t\r\n");
    return nFirst == std::string::npos ? "" : sValue.substr(nFirst, nLast - nFirst + 1);
}

bool ParseInt(const std::string& sText, long nMin, long nMax, int& nValue)
{
    if (sText.empty())
        return false;
    char* pEnd = nullptr;
    errno = 0;
    long n = std::strtol(sText.c_str(), &pEnd, 10);
    if (errno || *pEnd || n < nMin || n > nMax)
        return false;
    nValue = static_cast<int>(n);
    return true;
}

}  // namespace

bool CSearchAgentConfig::Load(const std::string& sFile, std::string& sError)
{
    std::string sXml;
    if (!ReadWholeFile(sFile, sXml, 1 << 20)) {
        sError = "Failed reading file " + sFile;
        return false;
    }
    m_sServerIP_Tiaowen = Element(sXml, "TiaowenServerIP");
    m_sServerIP_Argument = Element(sXml, "ArgumentServerIP");
    if (!ParseInt(Element(sXml, "TiaowenPort"), 0, 65535, m_nPort_Tiaowen))
        m_nPort_Tiaowen = -1;
    if (!ParseInt(Element(sXml, "ArgumentPort"), 0, 65535, m_nPort_Argument))
        m_nPort_Argument = -1;
    if (!ParseInt(Element(sXml, "TimeoutSeconds"), 1, kMaxTimeLimitSeconds, m_nTimeLimitSeconds))
        m_nTimeLimitSeconds = kDefaultTimeLimitSeconds;
    return true;
}
