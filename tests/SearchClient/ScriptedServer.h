// A loopback TCP server for client tests: it listens on a free port and
// runs a test's script on every connection it accepts, each on its own
// thread, so a test can answer, stall, cut short or close as it likes.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CScriptedServer {
public:
    // Gets the connected socket; the server closes it afterwards.
    using Script = std::function<void(int nSocket)>;

    explicit CScriptedServer(Script script);
    ~CScriptedServer();
    CScriptedServer(const CScriptedServer&) = delete;
    CScriptedServer& operator=(const CScriptedServer&) = delete;

    int Port() const { return m_nPort; }

    // Helpers for scripts.
    static bool ReadExact(int nSocket, std::string& sOut, size_t nLen);
    // Reads one whole request frame (its length and body).
    static std::string ReadRequest(int nSocket);
    static void Send(int nSocket, const std::string& sData);

private:
    void Accept();

    Script m_script;
    int m_nListen = -1;
    int m_nPort = 0;
    std::atomic<bool> m_bStop{false};
    std::thread m_acceptor;
    std::mutex m_mutex;
    std::vector<std::thread> m_vecThreads;
};
