// The scripted test server: accept with a short poll so the destructor can
// stop it, then one thread per connection running the script.
#include "ScriptedServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "SearchClient/SearchFrame.h"

CScriptedServer::CScriptedServer(Script script) : m_script(std::move(script))
{
    m_nListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nLen = sizeof(addr);
    if (bind(m_nListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(m_nListen, 64) != 0 ||
        getsockname(m_nListen, reinterpret_cast<sockaddr*>(&addr), &nLen) != 0)
        return;
    m_nPort = ntohs(addr.sin_port);
    m_acceptor = std::thread([this] { Accept(); });
}

CScriptedServer::~CScriptedServer()
{
    m_bStop = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
    for (auto& thread : m_vecThreads)
        thread.join();
    close(m_nListen);
}

void CScriptedServer::Accept()
{
    while (!m_bStop) {
        pollfd fd{m_nListen, POLLIN, 0};
        if (poll(&fd, 1, 50) <= 0)
            continue;
        int nSocket = accept4(m_nListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (nSocket < 0)
            continue;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_vecThreads.emplace_back([this, nSocket] {
            m_script(nSocket);
            close(nSocket);
        });
    }
}

bool CScriptedServer::ReadExact(int nSocket, std::string& sOut, size_t nLen)
{
    sOut.clear();
    char buffer[4096];
    while (sOut.size() < nLen) {
        pollfd fd{nSocket, POLLIN, 0};
        if (poll(&fd, 1, 5000) <= 0)
            return false;
        ssize_t n = recv(nSocket, buffer, std::min(sizeof(buffer), nLen - sOut.size()), 0);
        if (n <= 0)
            return false;
        sOut.append(buffer, static_cast<size_t>(n));
    }
    return true;
}

std::string CScriptedServer::ReadRequest(int nSocket)
{
    std::string sLength, sBody;
    if (!ReadExact(nSocket, sLength, 4) || !ReadExact(nSocket, sBody, CSearchFrame::ReadBE32(sLength.data())))
        return sLength;
    return sLength + sBody;
}

void CScriptedServer::Send(int nSocket, const std::string& sData)
{
    size_t nSent = 0;
    while (nSent < sData.size()) {
        ssize_t n = send(nSocket, sData.data() + nSent, sData.size() - nSent, MSG_NOSIGNAL);
        if (n <= 0)
            return;
        nSent += static_cast<size_t>(n);
    }
}
