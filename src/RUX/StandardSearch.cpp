// Addresses are kept per evaluator, so one check reads the file once
// whatever number of citations it asks about; every query opens and closes
// its own connection, so evaluators on other threads never share one.
#include "RUX/StandardSearch.h"

#include "SearchClient/SearchClient.h"
#include "Utility/Log.h"

std::string CStandardSearch::ConfigFile() const
{
    std::string sDir = m_sDataDir;
    if (!sDir.empty() && sDir.back() != '/')
        sDir += '/';
    return sDir + CSearchAgentConfig::kFileName;
}

bool CStandardSearch::ReadAddresses(EService eService)
{
    const std::string& sKnown = eService == SERVICE_TIAOWEN ? m_sServerIP_Tiaowen : m_sServerIP_Argument;
    if (!sKnown.empty())
        return true;
    CSearchAgentConfig config;
    std::string sError;
    if (!config.Load(ConfigFile(), sError)) {
        SetLastError(sError);
        return false;
    }
    m_sServerIP_Tiaowen = config.TiaowenServerIP();
    m_nPort_Tianwen = config.TiaowenPort();
    m_sServerIP_Argument = config.ArgumentServerIP();
    m_nPort_Argument = config.ArgumentPort();
    m_nTimeLimitSeconds = config.TimeLimitSeconds();
    const std::string& sRead = eService == SERVICE_TIAOWEN ? m_sServerIP_Tiaowen : m_sServerIP_Argument;
    if (sRead.empty()) {
        SetLastError("No search service address in " + ConfigFile());
        return false;
    }
    return true;
}

std::string CStandardSearch::Address(EService eService) const
{
    if (eService == SERVICE_TIAOWEN)
        return m_sServerIP_Tiaowen + ":" + std::to_string(m_nPort_Tianwen);
    return m_sServerIP_Argument + ":" + std::to_string(m_nPort_Argument);
}

int CStandardSearch::Query(EService eService, const std::string& sQuery, int nStart, int nCount,
                           std::vector<_tSearchDocument>& vecDocuments)
{
    vecDocuments.clear();
    CSearchClient client(m_nTimeLimitSeconds);
    const std::string& sHost = eService == SERVICE_TIAOWEN ? m_sServerIP_Tiaowen : m_sServerIP_Argument;
    int nPort = eService == SERVICE_TIAOWEN ? m_nPort_Tianwen : m_nPort_Argument;
    std::unique_ptr<char[]> pAnswer = client.Query(sQuery, nStart, nCount, sHost, nPort);
    if (!pAnswer) {
        SetLastError("Cannot connect server @" + Address(eService) + " (" + client.Error() + ")");
        return kNoAnswer;
    }
    return CSearchResultParser::GetSearchResult(pAnswer.get(), vecDocuments);
}
