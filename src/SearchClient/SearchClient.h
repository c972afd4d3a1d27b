// The client of the search service: one blocking request and answer over
// TCP per query, the answer a QuickLZ block holding the answer text. The
// whole exchange is bounded by one time limit and the answer's size.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class CSocketStream;

class CSearchClient {
public:
    // Answers above this are refused rather than allocated, and so are
    // answer texts that would decompress to more than kMaxTextBytes.
    static constexpr uint32_t kMaxAnswerBytes = 64u << 20;
    static constexpr size_t kMaxTextBytes = size_t(256) << 20;

    explicit CSearchClient(int nTimeLimitSeconds) : m_nTimeLimitSeconds(nTimeLimitSeconds) {}

    // The answer text, NUL-terminated (empty for an answer of length 0); null
    // on any failure, with Error() saying why.
    std::unique_ptr<char[]> Query(const std::string& sQuery, int nStart, int nCount, const std::string& sHost,
                                  int nPort);
    const std::string& Error() const { return m_sError; }

private:
    bool Exchange(CSocketStream& stream, const std::string& sRequest, std::string& sBlock);
    std::unique_ptr<char[]> Decode(const std::string& sBlock);
    bool SocketFailed(const CSocketStream& stream, const char* sStep);
    std::string Where() const;

    int m_nTimeLimitSeconds;
    std::chrono::steady_clock::time_point m_deadline;  // of the query under way
    std::string m_sHost;
    int m_nPort = 0;
    std::string m_sError;
};
