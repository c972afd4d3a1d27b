// The threads of a checked list of documents.
#include "FileBatch.h"

#include <algorithm>
#include <filesystem>
#include <thread>

CFileBatch::CFileBatch(std::string sOrganization, int nType, int nFormat, VESKAR_BatchCallback pCallback,
                       void* pHost)
    : m_sOrganization(std::move(sOrganization)), m_nType(nType), m_nFormat(nFormat), m_pCallback(pCallback),
      m_pHost(pHost)
{
}

void CFileBatch::SetFolders(std::string sDir, std::string sOutRoot)
{
    m_sDir = std::move(sDir);
    m_sOutRoot = std::move(sOutRoot);
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
    for (size_t i = m_nNext++; i < vecFiles.size(); i = m_nNext++)
        CheckOne(vecFiles[i], vecFiles.size(), nHandle);
    VESKAR_DeleteInstance(nHandle);
}

void CFileBatch::CheckOne(const std::string& sRelative, size_t nTotal, int nHandle)
{
    std::string sFile = m_sDir + "/" + sRelative;
    const char* sResult = nullptr;
    std::string sError;
    if (!m_sOutRoot.empty()) {
        // The output folder belongs to the calling thread; equal names in two
        // sub-folders stay apart in the mirrored tree.
        std::string sParent = std::filesystem::path(sRelative).parent_path().generic_string();
        std::string sOut = sParent.empty() ? m_sOutRoot : m_sOutRoot + "/" + sParent;
        if (VESKAR_SetOutputDir(sOut.c_str()) != 1)
            sError = VESKAR_GetLastErrorMsg();
    }
    if (sError.empty()) {
        sResult = VESKAR_CheckReportF(sFile.c_str(), "", m_sOrganization.c_str(), m_nType, m_nFormat, false, nHandle);
        if (!sResult)
            sError = VESKAR_GetLastErrorMsg();
    }
    m_pCallback(m_pHost, sFile.c_str(), ++m_nDone, nTotal, sResult, sResult ? nullptr : sError.c_str());
}
