// The search service on the loopback address: a fixed pool of workers, each
// with its own view of the catalogue, accepts and answers connections; the
// others wait in the listening socket's queue. One request and answer per
// connection, the request's size and the connection's time bounded, so
// malformed or slow clients cost a worker a limited time only.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <string>
#include <thread>
#include <vector>

class CCatalogueSearch;
class CSocketStream;

struct _tSearchServerOptions {
    int nPort = 0;  // 0: any free port
    std::string sDatabase;
    int nWorkers = 8;
    int nConnectionSeconds = 10;  // from a worker taking a connection to its close
    size_t nMaxRequestBytes = 64 * 1024;
};

class CSearchServer {
public:
    explicit CSearchServer(_tSearchServerOptions options) : m_options(std::move(options)) {}
    ~CSearchServer();
    CSearchServer(const CSearchServer&) = delete;
    CSearchServer& operator=(const CSearchServer&) = delete;

    // Opens the catalogue once, so a bad one fails here, then binds
    // 127.0.0.1 and listens; false with sError.
    bool Listen(std::string& sError);
    int Port() const { return m_nPort; }
    // Serves until bStop turns true; connections under way are finished.
    void Run(const std::atomic<bool>& bStop);

    size_t Answered() const { return m_nAnswered; }
    size_t Refused() const { return m_nRefused; }  // malformed requests
    size_t Dropped() const { return m_nDropped; }  // slow or cut short

private:
    void Work(const std::atomic<bool>& bStop);
    void Serve(int nSocket, CCatalogueSearch& search);
    using Deadline = std::chrono::steady_clock::time_point;
    bool ReadBody(CSocketStream& stream, Deadline deadline, std::string& sBody, std::string& sRefusal);
    void SendAnswer(CSocketStream& stream, Deadline deadline, const std::string& sText, bool bRefusal);

    _tSearchServerOptions m_options;
    int m_nListen = -1;
    int m_nPort = 0;
    std::vector<std::thread> m_vecWorkers;
    std::atomic<size_t> m_nAnswered{0};
    std::atomic<size_t> m_nRefused{0};
    std::atomic<size_t> m_nDropped{0};
};
