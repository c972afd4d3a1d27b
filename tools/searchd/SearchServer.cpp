// A request is read whole before anything is answered: its length must lie
// between the fixed fields' 12 bytes and the request limit, else the
// answer is a refusal and the connection ends. Answers are compressed as
// one QuickLZ block.
#include "SearchServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "CatalogueSearch.h"
#include "SearchClient/QuickLZEncoder.h"
#include "SearchClient/SearchFrame.h"
#include "Socket/SocketStream.h"

namespace {

using Clock = CSocketStream::Clock;

// A client that sent more than it announced gets this long to stop.
const auto kLinger = std::chrono::milliseconds(200);

}  // namespace

CSearchServer::~CSearchServer()
{
    if (m_nListen >= 0)
        close(m_nListen);
}

bool CSearchServer::Listen(std::string& sError)
{
    CCatalogueSearch probe;
    if (!probe.Open(m_options.sDatabase, sError))
        return false;
    // Non-blocking: a worker woken with others finds the connection taken.
    m_nListen = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_nListen < 0) {
        sError = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    int nOn = 1;
    setsockopt(m_nListen, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof(nOn));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(m_options.nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nLen = sizeof(addr);
    if (bind(m_nListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(m_nListen, SOMAXCONN) != 0 ||
        getsockname(m_nListen, reinterpret_cast<sockaddr*>(&addr), &nLen) != 0) {
        sError = "cannot listen on 127.0.0.1:" + std::to_string(m_options.nPort) + ": " + std::strerror(errno);
        return false;
    }
    m_nPort = ntohs(addr.sin_port);
    return true;
}

void CSearchServer::Run(const std::atomic<bool>& bStop)
{
    for (int i = 0; i < std::max(1, m_options.nWorkers); ++i)
        m_vecWorkers.emplace_back([this, &bStop] { Work(bStop); });
    for (auto& worker : m_vecWorkers)
        worker.join();
    m_vecWorkers.clear();
}

// Each worker accepts for itself when it is free, so connections wait in
// the kernel's queue, never in ours, and no hand-over wakes a second thread.
void CSearchServer::Work(const std::atomic<bool>& bStop)
{
    CCatalogueSearch search;
    std::string sError;
    bool bOpen = search.Open(m_options.sDatabase, sError);
    while (!bStop) {
        pollfd fd{m_nListen, POLLIN, 0};
        if (poll(&fd, 1, 200) <= 0)
            continue;  // a time out, or a signal that may have asked to stop
        int nSocket = accept4(m_nListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (nSocket < 0)
            continue;  // another worker took it
        if (bOpen)
            Serve(nSocket, search);
        else
            close(nSocket);
    }
}

void CSearchServer::Serve(int nSocket, CCatalogueSearch& search)
{
    CSocketStream stream(nSocket);
    auto deadline = Clock::now() + std::chrono::seconds(m_options.nConnectionSeconds);
    std::string sBody, sRefusal;
    if (!ReadBody(stream, deadline, sBody, sRefusal)) {
        if (sRefusal.empty())
            ++m_nDropped;
        else
            SendAnswer(stream, deadline, CSearchAnswer::Refusal(sRefusal), true);
        return;
    }
    _tSearchRequest request;
    if (!CSearchFrame::ParseRequestBody(sBody, request, sRefusal))
        return SendAnswer(stream, deadline, CSearchAnswer::Refusal(sRefusal), true);
    SendAnswer(stream, deadline, search.Answer(request.sQuery, request.nStart, request.nCount), false);
}

// The body of the request; false with sRefusal set for a length out of
// bounds, or empty when the client was too slow or went away.
bool CSearchServer::ReadBody(CSocketStream& stream, Deadline deadline, std::string& sBody, std::string& sRefusal)
{
    unsigned char length[CSearchFrame::kLengthBytes];
    if (!stream.RecvExact(length, sizeof(length), deadline))
        return false;
    int64_t nLength = static_cast<int32_t>(CSearchFrame::ReadBE32(length));
    if (nLength < int64_t(CSearchFrame::kRequestFixed) || nLength > int64_t(m_options.nMaxRequestBytes)) {
        sRefusal = "request length " + std::to_string(nLength) + " is outside 12 to " +
                   std::to_string(m_options.nMaxRequestBytes) + " bytes";
        return false;
    }
    sBody.resize(static_cast<size_t>(nLength));
    return stream.RecvExact(sBody.data(), sBody.size(), deadline);
}

void CSearchServer::SendAnswer(CSocketStream& stream, Deadline deadline, const std::string& sText, bool bRefusal)
{
    std::string sFrame = CSearchFrame::Answer(CQuickLZEncoder().Compress(sText));
    bool bSent = stream.SendAll(sFrame.data(), sFrame.size(), deadline);
    if (bRefusal)
        ++m_nRefused;
    else
        ++(bSent ? m_nAnswered : m_nDropped);
    if (bRefusal)
        stream.Linger(std::min(deadline, Clock::now() + kLinger));
}
