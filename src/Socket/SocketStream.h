// A blocking-style TCP connection to a service, every step bounded by one
// deadline: connect, send everything, receive an exact number of bytes.
// POSIX sockets, IPv4; the socket is closed with the object.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// What went wrong in the last step of a CSocketStream.
enum class ESocketFailure {
    None,
    NoSocket,  // no socket could be made
    Resolve,   // the host name has no IPv4 address
    Connect,   // refused, unreachable, or no answer to the connect
    Timeout,   // the deadline passed while waiting
    Closed,    // the peer closed before all bytes came
    Send,
    Receive,
};

class CSocketStream {
public:
    using Clock = std::chrono::steady_clock;

    CSocketStream() = default;
    // Takes over a connected socket (a server's accepted one).
    explicit CSocketStream(int nSocket);
    ~CSocketStream();
    CSocketStream(const CSocketStream&) = delete;
    CSocketStream& operator=(const CSocketStream&) = delete;

    // Resolves sHost (a name or dotted address) and connects to its first
    // IPv4 address at nPort before the deadline.
    bool Connect(const std::string& sHost, int nPort, Clock::time_point deadline);
    // Sends all nLen bytes before the deadline.
    bool SendAll(const void* pData, size_t nLen, Clock::time_point deadline);
    // Receives exactly nLen bytes before the deadline; Received() says how
    // many came when it fails.
    bool RecvExact(void* pData, size_t nLen, Clock::time_point deadline);
    void Close();
    // Stops sending, so the peer reads the end of what was sent, and reads
    // and drops what the peer still sends until it closes or the deadline.
    void Linger(Clock::time_point deadline);

    ESocketFailure Failure() const { return m_eFailure; }
    int FailureErrno() const { return m_nErrno; }
    size_t Received() const { return m_nReceived; }

private:
    bool Fail(ESocketFailure eFailure, int nErrno);
    // Waits for nEvents on the socket until the deadline; false on time out
    // or a failed poll.
    bool Wait(short nEvents, Clock::time_point deadline);
    bool FinishConnect(Clock::time_point deadline);

    int m_nSocket = -1;
    ESocketFailure m_eFailure = ESocketFailure::None;
    int m_nErrno = 0;
    size_t m_nReceived = 0;
};
