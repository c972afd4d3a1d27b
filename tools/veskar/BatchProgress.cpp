// The bar goes to stderr so that stdout stays a clean record of the batch.
#include "BatchProgress.h"

#include <cstdio>

CBatchProgress::CBatchProgress(bool bTerminal, FILE* pLines)
    : m_bTerminal(bTerminal), m_pLines(pLines), m_start(std::chrono::steady_clock::now())
{
}

double CBatchProgress::Seconds() const
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

void CBatchProgress::DrawBar(size_t nDone, size_t nTotal)
{
    const int kWidth = 30;
    double fShare = nTotal ? static_cast<double>(nDone) / static_cast<double>(nTotal) : 1.0;
    int nFilled = static_cast<int>(fShare * kWidth);
    double fSeconds = Seconds();
    double fRate = fSeconds > 0 ? static_cast<double>(nDone) / fSeconds : 0;
    int nLeft = fRate > 0 ? static_cast<int>(static_cast<double>(nTotal - nDone) / fRate) : 0;
    std::fprintf(stderr, "\r[%.*s%*s] %zu/%zu  %.1f docs/s  %d:%02d left ", nFilled,
                 "##############################", kWidth - nFilled, "", nDone, nTotal, fRate, nLeft / 60,
                 nLeft % 60);
    std::fflush(stderr);
    m_bDrawn = true;
}

void CBatchProgress::Done(const char* sFile, size_t nDone, size_t nTotal, const char* sResult, const char* sError)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_vecOutcomes.push_back({sFile, sResult ? sResult : "", sResult ? "" : (sError && *sError ? sError : "failed")});
    if (m_bTerminal) {
        DrawBar(nDone, nTotal);
        return;
    }
    std::fprintf(m_pLines, "%zu/%zu %s %s\n", nDone, nTotal, sResult ? "ok    " : "FAILED", sFile);
    std::fflush(m_pLines);
}

std::vector<_tBatchOutcome> CBatchProgress::Finish()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bDrawn)
        std::fputc('\n', stderr);
    return m_vecOutcomes;
}
