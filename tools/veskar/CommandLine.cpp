// A small option parser: the tool's commands take few options.
#include "CommandLine.h"

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
