// A small option parser: the tool's commands take few options.
#include "CommandLine.h"

#include <cstdlib>

bool CCommandLine::Parse(int argc, char** argv, int nFirst, const std::set<std::string>& setValued,
                         const std::set<std::string>& setFlags)
{
    for (int i = nFirst; i < argc; ++i) {
        std::string sArg = argv[i];
        if (sArg.size() < 2 || sArg[0] != '-') {
            m_vecWords.push_back(sArg);
            continue;
        }
        std::string sName = sArg;
        std::string sValue;
        size_t nEq = sArg.find('=');
        bool bInline = nEq != std::string::npos;
        if (bInline) {
            sName = sArg.substr(0, nEq);
            sValue = sArg.substr(nEq + 1);
        }
        if (sName == "-h")
            sName = "--help";
        if (setValued.count(sName) && !bInline) {
            if (i + 1 >= argc) {
                m_sError = sName + " needs a value";
                return false;
            }
            sValue = argv[++i];
        } else if (!setValued.count(sName) && !setFlags.count(sName) && sName != "--help") {
            m_sError = "unknown option " + sName;
            return false;
        }
        m_mapOptions[sName] = sValue;
    }
    return true;
}

std::string CCommandLine::Get(const std::string& sOption, const std::string& sDefault) const
{
    auto it = m_mapOptions.find(sOption);
    return it == m_mapOptions.end() ? sDefault : it->second;
}

bool CCommandLine::GetInt(const std::string& sOption, int nDefault, int nMin, int nMax, int& nValue) const
{
    if (!Has(sOption)) {
        nValue = nDefault;
        return true;
    }
    std::string sText = Get(sOption);
    char* pEnd = nullptr;
    long nRead = std::strtol(sText.c_str(), &pEnd, 10);
    if (sText.empty() || *pEnd != '\0' || nRead < nMin || nRead > nMax)
        return false;
    nValue = static_cast<int>(nRead);
    return true;
}
