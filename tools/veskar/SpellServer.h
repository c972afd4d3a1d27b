// A small HTTP/1.1 server on the loopback address that answers the spelling
// protocol: POST /get_maybe_sentence with the body "sentence"="TEXT", the
// answer JSON from a function given to it. One request per connection, one
// thread per connection up to a cap, bounded request size and time.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>

class CSpellServer {
public:
    // The answer JSON for a sentence; false with an error text instead.
    using AnswerFn = std::function<bool(const std::string& sSentence, std::string& sAnswer)>;

    static constexpr size_t kMaxBodyBytes = 64 * 1024;
    static constexpr size_t kMaxHeaderBytes = 16 * 1024;
    static constexpr int kMaxConnections = 32;
    static constexpr int kConnectionSeconds = 10;

    explicit CSpellServer(AnswerFn fnAnswer) : m_fnAnswer(std::move(fnAnswer)) {}
    ~CSpellServer();
    CSpellServer(const CSpellServer&) = delete;
    CSpellServer& operator=(const CSpellServer&) = delete;

    // Binds 127.0.0.1:nPort (0: any free port) and listens; false with sError.
    bool Listen(int nPort, std::string& sError);
    int Port() const { return m_nPort; }
    // Serves until bStop turns true, then waits for open connections.
    void Run(const std::atomic<bool>& bStop);

private:
    void Serve(int nSocket);
    void Respond(int nSocket, int nStatus, const std::string& sBody);

    AnswerFn m_fnAnswer;
    int m_nListen = -1;
    int m_nPort = 0;
    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_nOpen = 0;  // connections being served
};
