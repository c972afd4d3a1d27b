// The table of checker instances addressed by integer handles. A handle is
// an index; a deleted instance leaves an empty slot and slots are never reused.
// The table shares ownership with the calls that run on an instance, so
// deleting a handle while a call on it runs on another thread leaves the
// instance alive until that call lets go of it.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

class CReportChecker;

class CInstanceTable {
public:
    // Appends an instance; returns its handle.
    int Add(std::unique_ptr<CReportChecker> pChecker);
    // Gives up the table's share of the instance of a handle: 1 when the
    // handle was in range (even if already deleted), 0 otherwise. The
    // instance is destroyed once no running call holds it.
    int Delete(int nHandle);
    // A share of the instance, or null for a handle out of range or deleted.
    std::shared_ptr<CReportChecker> Get(int nHandle);
    // Whether the handle still names this very instance (it was not deleted).
    bool Holds(int nHandle, const CReportChecker* pChecker);
    // Gives up every instance and empties the table.
    void Clear();
    int Size();

private:
    std::mutex m_mutex;  // g_mutexVESKAR
    std::vector<std::shared_ptr<CReportChecker>> m_vecReportChecker;
};

extern CInstanceTable g_vecReportChecker;

// The instance of a handle for the per-instance exports, held for the
// length of the call; null (with "GetReportCheckerWorker  argument(handle N)
// is invalid!") when the library is not initialised or the handle is out of
// range, null for a deleted slot.
std::shared_ptr<CReportChecker> GetReportCheckerWorker(int nHandle);
