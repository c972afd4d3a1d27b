// The test server runs CSearchServer itself, so a test sees its counters.
#include "RunningServer.h"

#include "StandardCatalogue.h"

CRunningServer::CRunningServer(const std::vector<std::string>& vecSources, int nConnectionSeconds)
{
    m_sDatabase = m_dir.File("Standards.db");
    {
        CStandardCatalogue catalogue;
        if (!catalogue.Open(m_sDatabase, m_sError))
            return;
        for (const auto& sSource : vecSources) {
            if (catalogue.ImportText(sSource, m_sError) < 0)
                return;
        }
    }
    _tSearchServerOptions options;
    options.sDatabase = m_sDatabase;
    options.nWorkers = 3;
    options.nConnectionSeconds = nConnectionSeconds;
    auto pServer = std::make_unique<CSearchServer>(options);
    if (!pServer->Listen(m_sError))
        return;
    m_pServer = std::move(pServer);
    m_thread = std::thread([this] { m_pServer->Run(m_bStop); });
}

CRunningServer::~CRunningServer()
{
    m_bStop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::vector<std::string> AnswerValues(const std::string& sAnswer, const std::string& sName)
{
    std::vector<std::string> vecValues;
    std::string sOpen = "<" + sName + ">", sClose = "</" + sName + ">";
    for (size_t nAt = sAnswer.find(sOpen); nAt != std::string::npos; nAt = sAnswer.find(sOpen, nAt + 1)) {
        size_t nStart = nAt + sOpen.size();
        size_t nEnd = sAnswer.find(sClose, nStart);
        if (nEnd == std::string::npos)
            break;
        vecValues.push_back(sAnswer.substr(nStart, nEnd - nStart));
    }
    return vecValues;
}

int AnswerNumber(const std::string& sAnswer, const std::string& sName)
{
    std::vector<std::string> vecValues = AnswerValues(sAnswer, sName);
    return vecValues.empty() ? -1 : std::stoi(vecValues[0]);
}
