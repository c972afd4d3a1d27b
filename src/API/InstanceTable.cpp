// Lookups take the lock too: an append on another thread may move the
// table, and reading it unlocked would read freed memory. Instances are
// released outside the lock, since destroying one may take a while.
#include "API/InstanceTable.h"

#include <string>

#include "API/SharedServices.h"
#include "Checker/ReportChecker.h"
#include "Utility/Log.h"

CInstanceTable g_vecReportChecker;

int CInstanceTable::Add(std::unique_ptr<CReportChecker> pChecker)
{
    std::shared_ptr<CReportChecker> pShared(std::move(pChecker));
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecReportChecker.push_back(std::move(pShared));
    return static_cast<int>(m_vecReportChecker.size()) - 1;
}

int CInstanceTable::Delete(int nHandle)
{
    std::shared_ptr<CReportChecker> pDoomed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (nHandle < 0 || nHandle >= static_cast<int>(m_vecReportChecker.size()))
            return 0;
        pDoomed = std::move(m_vecReportChecker[static_cast<size_t>(nHandle)]);
    }
    return 1;  // the table's share is dropped here, outside the lock
}

std::shared_ptr<CReportChecker> CInstanceTable::Get(int nHandle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (nHandle < 0 || nHandle >= static_cast<int>(m_vecReportChecker.size()))
        return nullptr;
    return m_vecReportChecker[static_cast<size_t>(nHandle)];
}

bool CInstanceTable::Holds(int nHandle, const CReportChecker* pChecker)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return nHandle >= 0 && nHandle < static_cast<int>(m_vecReportChecker.size()) &&
           m_vecReportChecker[static_cast<size_t>(nHandle)].get() == pChecker;
}

void CInstanceTable::Clear()
{
    std::vector<std::shared_ptr<CReportChecker>> vecDoomed;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        vecDoomed.swap(m_vecReportChecker);
    }
}

int CInstanceTable::Size()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_vecReportChecker.size());
}

std::shared_ptr<CReportChecker> GetReportCheckerWorker(int nHandle)
{
    if (!g_bVESKARInit || nHandle < 0 || nHandle >= g_vecReportChecker.Size()) {
        SetLastError("GetReportCheckerWorker  argument(handle " + std::to_string(nHandle) + ") is invalid!");
        return nullptr;
    }
    return g_vecReportChecker.Get(nHandle);
}
