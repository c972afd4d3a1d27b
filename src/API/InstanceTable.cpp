// Lookups take the lock too: an append on another thread may move the
// table, and reading it unlocked would read freed memory.
#include "API/InstanceTable.h"

#include <string>

#include "Checker/ReportChecker.h"
#include "Global/SharedServices.h"
#include "Utility/Log.h"

CInstanceTable g_vecReportChecker;

int CInstanceTable::Add(std::unique_ptr<CReportChecker> pChecker)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecReportChecker.push_back(std::move(pChecker));
    return static_cast<int>(m_vecReportChecker.size()) - 1;
}

int CInstanceTable::Delete(int nHandle)
{
    std::unique_ptr<CReportChecker> pDoomed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (nHandle < 0 || nHandle >= static_cast<int>(m_vecReportChecker.size()))
            return 0;
        pDoomed = std::move(m_vecReportChecker[static_cast<size_t>(nHandle)]);
    }
    return 1;  // the instance is destroyed here, outside the lock
}

CReportChecker* CInstanceTable::Get(int nHandle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (nHandle < 0 || nHandle >= static_cast<int>(m_vecReportChecker.size()))
        return nullptr;
    return m_vecReportChecker[static_cast<size_t>(nHandle)].get();
}

void CInstanceTable::Clear()
{
    std::vector<std::unique_ptr<CReportChecker>> vecDoomed;
    std::lock_guard<std::mutex> lock(m_mutex);
    vecDoomed.swap(m_vecReportChecker);
}

int CInstanceTable::Size()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_vecReportChecker.size());
}

CReportChecker* GetReportCheckerWorker(int nHandle)
{
    if (!g_bVESKARInit || nHandle < 0 || nHandle >= g_vecReportChecker.Size()) {
        SetLastError("GetReportCheckerWorker  argument(handle " + std::to_string(nHandle) + ") is invalid!");
        return nullptr;
    }
    return g_vecReportChecker.Get(nHandle);
}
