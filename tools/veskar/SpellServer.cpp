// The spelling service's HTTP handling. Requests are read whole (headers,
// then a body of the announced length) under a deadline, so a slow or
// silent client holds its thread for a bounded time only.
#include "SpellServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

const char* const kPath = "/get_maybe_sentence";
const char* const kBodyPrefix = "\"sentence\"=\"";

const char* StatusText(int nStatus)
{
    switch (nStatus) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 411: return "Length Required";
    case 413: return "Payload Too Large";
    case 431: return "Request Header Fields Too Large";
    case 503: return "Service Unavailable";
    default: return "Internal Server Error";
    }
}

std::string ErrorJson(const std::string& sMessage)
{
    std::string sOut = "{\"error\":\"";
    for (char c : sMessage)
        sOut += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
    return sOut + "\"}";
}

// Reads more bytes into sBuffer until the deadline; false on close, error
// or time out.
bool ReadMore(int nSocket, std::string& sBuffer, Clock::time_point deadline)
{
    auto nLeft = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (nLeft <= 0)
        return false;
    pollfd fd{nSocket, POLLIN, 0};
    int nReady = poll(&fd, 1, static_cast<int>(nLeft));
    if (nReady <= 0)
        return false;
    char buffer[8192];
    ssize_t nRead = recv(nSocket, buffer, sizeof(buffer), 0);
    if (nRead <= 0)
        return false;
    sBuffer.append(buffer, static_cast<size_t>(nRead));
    return true;
}

bool SendAll(int nSocket, const std::string& sData)
{
    size_t nSent = 0;
    while (nSent < sData.size()) {
        ssize_t n = send(nSocket, sData.data() + nSent, sData.size() - nSent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        nSent += static_cast<size_t>(n);
    }
    return true;
}

// The value of a header (name compared without case), "" when absent.
std::string HeaderValue(const std::string& sHeaders, const char* sName)
{
    size_t nNameLen = std::strlen(sName);
    size_t nPos = 0;
    while ((nPos = sHeaders.find("\r\n", nPos)) != std::string::npos) {
        nPos += 2;
        if (sHeaders.size() - nPos > nNameLen && strncasecmp(sHeaders.c_str() + nPos, sName, nNameLen) == 0 &&
            sHeaders[nPos + nNameLen] == ':') {
            size_t nStart = sHeaders.find_first_not_of(" \t", nPos + nNameLen + 1);
            size_t nEnd = sHeaders.find("\r\n", nPos);
            if (nStart == std::string::npos || nStart >= nEnd)
                return "";
            std::string sValue = sHeaders.substr(nStart, nEnd - nStart);
            while (!sValue.empty() && (sValue.back() == ' ' || sValue.back() == '\t'))
                sValue.pop_back();
            return sValue;
        }
    }
    return "";
}

// The sentence of a body "sentence"="TEXT" (a final line break allowed);
// false for any other body.
bool SentenceOfBody(std::string sBody, std::string& sSentence)
{
    while (!sBody.empty() && (sBody.back() == '\n' || sBody.back() == '\r'))
        sBody.pop_back();
    size_t nPrefix = std::strlen(kBodyPrefix);
    if (sBody.size() < nPrefix + 1 || sBody.compare(0, nPrefix, kBodyPrefix) != 0 || sBody.back() != '"')
        return false;
    sSentence = sBody.substr(nPrefix, sBody.size() - nPrefix - 1);
    return sSentence.find('\0') == std::string::npos;
}

// After the answer: closing with unread request bytes would reset the
// connection and could destroy the answer before the client reads it, so
// what the client still sends is read and dropped, for a short while.
void CloseGracefully(int nSocket)
{
    shutdown(nSocket, SHUT_WR);
    Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(500);
    std::string sDropped;
    while (sDropped.size() < 4 * CSpellServer::kMaxBodyBytes && ReadMore(nSocket, sDropped, deadline)) {
    }
    close(nSocket);
}

}  // namespace

CSpellServer::~CSpellServer()
{
    if (m_nListen >= 0)
        close(m_nListen);
}

bool CSpellServer::Listen(int nPort, std::string& sError)
{
    m_nListen = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_nListen < 0) {
        sError = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    int nOn = 1;
    setsockopt(m_nListen, SOL_SOCKET, SO_REUSEADDR, &nOn, sizeof(nOn));
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t nLen = sizeof(addr);
    if (bind(m_nListen, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 || listen(m_nListen, 64) != 0 ||
        getsockname(m_nListen, reinterpret_cast<sockaddr*>(&addr), &nLen) != 0) {
        sError = "cannot listen on 127.0.0.1:" + std::to_string(nPort) + ": " + std::strerror(errno);
        return false;
    }
    m_nPort = ntohs(addr.sin_port);
    return true;
}

void CSpellServer::Run(const std::atomic<bool>& bStop)
{
    while (!bStop) {
        pollfd fd{m_nListen, POLLIN, 0};
        if (poll(&fd, 1, 200) <= 0)
            continue;  // a time out, or a signal that may have asked to stop
        int nSocket = accept4(m_nListen, nullptr, nullptr, SOCK_CLOEXEC);
        if (nSocket < 0)
            continue;
        // A client that does not read its answer cannot hold a thread long.
        timeval sendLimit{kConnectionSeconds, 0};
        setsockopt(nSocket, SOL_SOCKET, SO_SNDTIMEO, &sendLimit, sizeof(sendLimit));
        std::unique_lock<std::mutex> lock(m_mutex);
        if (m_nOpen >= kMaxConnections) {
            lock.unlock();
            Respond(nSocket, 503, ErrorJson("too many connections"));
            CloseGracefully(nSocket);
            continue;
        }
        ++m_nOpen;
        lock.unlock();
        std::thread([this, nSocket]() {
            Serve(nSocket);
            CloseGracefully(nSocket);
            std::lock_guard<std::mutex> guard(m_mutex);
            if (--m_nOpen == 0)
                m_idle.notify_all();
        }).detach();
    }
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this]() { return m_nOpen == 0; });
}

void CSpellServer::Respond(int nSocket, int nStatus, const std::string& sBody)
{
    std::string sResponse = "HTTP/1.1 " + std::to_string(nStatus) + " " + StatusText(nStatus) +
                            "\r\nContent-Type: application/json; charset=utf-8\r\nContent-Length: " +
                            std::to_string(sBody.size()) + "\r\nConnection: close\r\n\r\n" + sBody;
    SendAll(nSocket, sResponse);
}

void CSpellServer::Serve(int nSocket)
{
    Clock::time_point deadline = Clock::now() + std::chrono::seconds(kConnectionSeconds);
    std::string sBuffer;
    size_t nHeaderEnd = std::string::npos;
    while ((nHeaderEnd = sBuffer.find("\r\n\r\n")) == std::string::npos) {
        if (sBuffer.size() > kMaxHeaderBytes)
            return Respond(nSocket, 431, ErrorJson("request headers too large"));
        if (!ReadMore(nSocket, sBuffer, deadline))
            return Respond(nSocket, 408, ErrorJson("incomplete request"));
    }
    std::string sHeaders = sBuffer.substr(0, nHeaderEnd + 2);
    sBuffer.erase(0, nHeaderEnd + 4);
    size_t nLineEnd = sHeaders.find("\r\n");
    std::string sLine = sHeaders.substr(0, nLineEnd);
    size_t nSpace1 = sLine.find(' '), nSpace2 = sLine.rfind(' ');
    if (nSpace1 == std::string::npos || nSpace2 <= nSpace1 || sLine.compare(nSpace2 + 1, 5, "HTTP/") != 0)
        return Respond(nSocket, 400, ErrorJson("malformed request line"));
    std::string sMethod = sLine.substr(0, nSpace1), sTarget = sLine.substr(nSpace1 + 1, nSpace2 - nSpace1 - 1);
    if (sTarget.substr(0, sTarget.find('?')) != kPath)
        return Respond(nSocket, 404, ErrorJson("no such path; POST " + std::string(kPath)));
    if (sMethod != "POST")
        return Respond(nSocket, 405, ErrorJson("only POST is answered"));
    if (!HeaderValue(sHeaders, "Transfer-Encoding").empty())
        return Respond(nSocket, 411, ErrorJson("a Content-Length is required"));
    std::string sLength = HeaderValue(sHeaders, "Content-Length");
    char* pEnd = nullptr;
    unsigned long long nLength = std::strtoull(sLength.c_str(), &pEnd, 10);
    if (sLength.empty() || *pEnd != '\0' || sLength[0] == '-')
        return Respond(nSocket, 411, ErrorJson("a Content-Length is required"));
    if (nLength > kMaxBodyBytes)
        return Respond(nSocket, 413, ErrorJson("the body may hold at most 65536 bytes"));
    if (strcasecmp(HeaderValue(sHeaders, "Expect").c_str(), "100-continue") == 0)
        SendAll(nSocket, "HTTP/1.1 100 Continue\r\n\r\n");
    while (sBuffer.size() < nLength) {
        if (!ReadMore(nSocket, sBuffer, deadline))
            return Respond(nSocket, 408, ErrorJson("incomplete body"));
    }
    std::string sSentence, sAnswer;
    if (!SentenceOfBody(sBuffer.substr(0, nLength), sSentence))
        return Respond(nSocket, 400, ErrorJson("the body must be \"sentence\"=\"TEXT\""));
    if (!m_fnAnswer(sSentence, sAnswer))
        return Respond(nSocket, 500, ErrorJson(sAnswer));
    Respond(nSocket, 200, sAnswer);
}
