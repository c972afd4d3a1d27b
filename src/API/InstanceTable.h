// The table of checker instances addressed by integer handles. A handle is
// an index; a deleted instance leaves an empty slot and slots are never reused.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

class CReportChecker;

class CInstanceTable {
public:
    // Appends an instance; returns its handle.
    int Add(std::unique_ptr<CReportChecker> pChecker);
    // Destroys the instance of a handle: 1 when the handle was in range
    // (even if already deleted), 0 otherwise.
    int Delete(int nHandle);
    // The instance, or null for a handle out of range or deleted.
    CReportChecker* Get(int nHandle);
    // Deletes every instance and empties the table.
    void Clear();
    int Size();

private:
    std::mutex m_mutex;  // g_mutexVESKAR
    std::vector<std::unique_ptr<CReportChecker>> m_vecReportChecker;
};

extern CInstanceTable g_vecReportChecker;

// The instance of a handle for the per-instance exports; null (with
// "GetReportCheckerWorker  argument(handle N) is invalid!") when the library
// is not initialised or the handle is out of range, null for a deleted slot.
CReportChecker* GetReportCheckerWorker(int nHandle);
