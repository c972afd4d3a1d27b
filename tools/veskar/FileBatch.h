// Checks a given list of documents with several threads, each on a library
// instance of its own, reporting each document as the library's folder batch
// does (used when only a share of a folder is checked).
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "veskar.h"

class CFileBatch {
public:
    CFileBatch(std::string sOrganization, int nType, int nFormat, VESKAR_BatchCallback pCallback, void* pHost);
    // False when a checker instance could not be made.
    bool Run(const std::vector<std::string>& vecFiles, int nThreads);

private:
    void Work(const std::vector<std::string>& vecFiles);

    std::string m_sOrganization;
    int m_nType;
    int m_nFormat;
    VESKAR_BatchCallback m_pCallback;
    void* m_pHost;
    std::atomic<size_t> m_nNext{0};
    std::atomic<size_t> m_nDone{0};
    std::atomic<bool> m_bFailedStart{false};
};
