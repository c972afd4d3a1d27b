// Progress of a batch for a person: a bar redrawn in place on a terminal
// (done/total, documents per second, time left), plain lines otherwise.
// Safe to call from the batch's worker threads.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

struct _tBatchOutcome {
    std::string sFile;
    std::string sResult;  // result file path, or the JSON text
    std::string sError;   // empty on success
};

class CBatchProgress {
public:
    // bTerminal: draw a bar on stderr; else one line per document on
    // pLines (stdout, or stderr when stdout carries a JSON summary).
    CBatchProgress(bool bTerminal, FILE* pLines);
    // One document finished (called on a worker thread).
    void Done(const char* sFile, size_t nDone, size_t nTotal, const char* sResult, const char* sError);
    // Ends the bar's line; the outcomes in the order they finished.
    std::vector<_tBatchOutcome> Finish();
    double Seconds() const;

private:
    void DrawBar(size_t nDone, size_t nTotal);

    bool m_bTerminal;
    FILE* m_pLines;
    std::chrono::steady_clock::time_point m_start;
    std::mutex m_mutex;
    std::vector<_tBatchOutcome> m_vecOutcomes;
    bool m_bDrawn = false;
};
