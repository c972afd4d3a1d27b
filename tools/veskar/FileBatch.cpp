// The threads of a checked list of documents.
#include "FileBatch.h"

#include <algorithm>
#include <thread>

CFileBatch::CFileBatch(std::string sOrganization, int nType, int nFormat, VESKAR_BatchCallback pCallback,
                       void* pHost)
    : m_sOrganization(std::move(sOrganization)), m_nType(nType), m_nFormat(nFormat), m_pCallback(pCallback),
      m_pHost(pHost)
{
}

bool CFileBatch::Run(const std::vector<std::string>& vecFiles, int nThreads)
{
    size_t nWorkers = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(nThreads), vecFiles.size()));
    std::vector<std::thread> vecThreads;
    for (size_t i = 0; i < nWorkers; ++i)
        vecThreads.emplace_back([this, &vecFiles]() { Work(vecFiles); });
    for (auto& thread : vecThreads)
        thread.join();
    return !m_bFailedStart;
}

void CFileBatch::Work(const std::vector<std::string>& vecFiles)
{
    int nHandle = VESKAR_NewInstance();
    if (nHandle < 0) {
        m_bFailedStart = true;
        return;
    }
    for (size_t i = m_nNext++; i < vecFiles.size(); i = m_nNext++) {
        const char* sResult = VESKAR_CheckReportF(vecFiles[i].c_str(), "", m_sOrganization.c_str(), m_nType,
                                                  m_nFormat, false, nHandle);
        std::string sError = sResult ? std::string() : std::string(VESKAR_GetLastErrorMsg());
        m_pCallback(m_pHost, vecFiles[i].c_str(), ++m_nDone, vecFiles.size(), sResult,
                    sResult ? nullptr : sError.c_str());
    }
    VESKAR_DeleteInstance(nHandle);
}
