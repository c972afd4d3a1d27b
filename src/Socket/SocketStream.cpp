// The socket is non-blocking from the start, so no call can block past the
// deadline: every wait is a poll for the time that is left.
#include "Socket/SocketStream.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

bool ResolveIPv4(const std::string& sHost, in_addr& address)
{
    if (inet_pton(AF_INET, sHost.c_str(), &address) == 1)
        return true;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* pList = nullptr;
    if (getaddrinfo(sHost.c_str(), nullptr, &hints, &pList) != 0 || !pList)
        return false;
    address = reinterpret_cast<sockaddr_in*>(pList->ai_addr)->sin_addr;
    freeaddrinfo(pList);
    return true;
}

}  // namespace

CSocketStream::CSocketStream(int nSocket) : m_nSocket(nSocket)
{
    fcntl(m_nSocket, F_SETFL, fcntl(m_nSocket, F_GETFL) | O_NONBLOCK);
}

CSocketStream::~CSocketStream()
{
    Close();
}

void CSocketStream::Close()
{
    if (m_nSocket >= 0)
        close(m_nSocket);
    m_nSocket = -1;
}

bool CSocketStream::Fail(ESocketFailure eFailure, int nErrno)
{
    m_eFailure = eFailure;
    m_nErrno = nErrno;
    return false;
}

bool CSocketStream::Wait(short nEvents, Clock::time_point deadline)
{
    for (;;) {
        auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (nLeft <= 0)
            return Fail(ESocketFailure::Timeout, ETIMEDOUT);
        pollfd fd{m_nSocket, nEvents, 0};
        int nReady = poll(&fd, 1, static_cast<int>(std::min<long long>(nLeft, 60000)));
        if (nReady > 0)
            return true;
        if (nReady < 0 && errno != EINTR)
            return Fail(nEvents == POLLOUT ? ESocketFailure::Send : ESocketFailure::Receive, errno);
    }
}

bool CSocketStream::Connect(const std::string& sHost, int nPort, Clock::time_point deadline)
{
    Close();
    m_eFailure = ESocketFailure::None;
    m_nSocket = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_nSocket < 0)
        return Fail(ESocketFailure::NoSocket, errno);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(nPort));
    if (!ResolveIPv4(sHost, address.sin_addr))
        return Fail(ESocketFailure::Resolve, EHOSTUNREACH);
    if (connect(m_nSocket, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
        return true;
    if (errno != EINPROGRESS && errno != EINTR)
        return Fail(ESocketFailure::Connect, errno);
    return FinishConnect(deadline);
}

bool CSocketStream::FinishConnect(Clock::time_point deadline)
{
    if (!Wait(POLLOUT, deadline))
        return m_eFailure == ESocketFailure::Timeout ? false : Fail(ESocketFailure::Connect, m_nErrno);
    int nError = 0;
    socklen_t nLen = sizeof(nError);
    if (getsockopt(m_nSocket, SOL_SOCKET, SO_ERROR, &nError, &nLen) != 0)
        return Fail(ESocketFailure::Connect, errno);
    return nError == 0 ? true : Fail(ESocketFailure::Connect, nError);
}

bool CSocketStream::SendAll(const void* pData, size_t nLen, Clock::time_point deadline)
{
    const char* p = static_cast<const char*>(pData);
    size_t nSent = 0;
    while (nSent < nLen) {
        ssize_t n = send(m_nSocket, p + nSent, nLen - nSent, MSG_NOSIGNAL);
        if (n > 0) {
            nSent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return Fail(ESocketFailure::Send, errno);
        if (n == 0)
            return Fail(ESocketFailure::Send, EPIPE);
        if (!Wait(POLLOUT, deadline))
            return false;
    }
    return true;
}

bool CSocketStream::RecvExact(void* pData, size_t nLen, Clock::time_point deadline)
{
    char* p = static_cast<char*>(pData);
    m_nReceived = 0;
    while (m_nReceived < nLen) {
        ssize_t n = recv(m_nSocket, p + m_nReceived, nLen - m_nReceived, 0);
        if (n > 0) {
            m_nReceived += static_cast<size_t>(n);
            continue;
        }
        if (n == 0)
            return Fail(ESocketFailure::Closed, ECONNRESET);
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return Fail(ESocketFailure::Receive, errno);
        if (!Wait(POLLIN, deadline))
            return false;
    }
    return true;
}

void CSocketStream::Linger(Clock::time_point deadline)
{
    if (m_nSocket < 0)
        return;
    shutdown(m_nSocket, SHUT_WR);
    char buffer[4096];
    while (Wait(POLLIN, deadline)) {
        ssize_t n = recv(m_nSocket, buffer, sizeof(buffer), 0);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            break;
    }
    Close();
}
