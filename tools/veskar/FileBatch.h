// Checks a given list of documents under one folder with several threads,
// each on a library instance of its own, reporting each document as the
// library's folder batch does and, with an output folder, mirroring the
// folder's tree there as it does (used when only a share is checked).
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "veskar.h"

class CFileBatch {
public:
    CFileBatch(std::string sOrganization, int nType, int nFormat, VESKAR_BatchCallback pCallback, void* pHost);
    // Results go into sOutRoot (empty: beside each document).
    void SetFolders(std::string sDir, std::string sOutRoot);
    // vecFiles are relative to the folder; false when a checker instance
    // could not be made.
    bool Run(const std::vector<std::string>& vecFiles, int nThreads);

private:
    void Work(const std::vector<std::string>& vecFiles);
    void CheckOne(const std::string& sRelative, size_t nTotal, int nHandle);

    std::string m_sDir = ".";
    std::string m_sOutRoot;
    std::string m_sOrganization;
    int m_nType;
    int m_nFormat;
    VESKAR_BatchCallback m_pCallback;
    void* m_pHost;
    std::atomic<size_t> m_nNext{0};
    std::atomic<size_t> m_nDone{0};
    std::atomic<bool> m_bFailedStart{false};
};
