// One query: connect, send the request frame, read the answer's length and
// block, decode it. Socket failures are also printed in the "Error %d: %s"
// form hosts of the search service have always seen on standard output.
#include "SearchClient/SearchClient.h"

#include <cstdio>
#include <cstring>

#include "SearchClient/QuickLZDecoder.h"
#include "SearchClient/SearchFrame.h"
#include "Socket/SocketStream.h"

namespace {

std::unique_ptr<char[]> EmptyAnswer()
{
    std::unique_ptr<char[]> pAnswer(new char[1]);
    pAnswer[0] = '\0';
    return pAnswer;
}

// The phrase of a connection failure, as the search client has always
// printed it; empty for failures after the connection stands.
const char* ConnectPhrase(ESocketFailure eFailure)
{
    switch (eFailure) {
    case ESocketFailure::NoSocket: return "no more socket resources";
    case ESocketFailure::Resolve: return "cannot resolve hostname";
    case ESocketFailure::Connect: return "cannot connect to server";
    default: return "";
    }
}

}  // namespace

std::string CSearchClient::Where() const
{
    return " (" + m_sHost + ":" + std::to_string(m_nPort) + ")";
}

std::unique_ptr<char[]> CSearchClient::Query(const std::string& sQuery, int nStart, int nCount,
                                             const std::string& sHost, int nPort)
{
    m_sHost = sHost;
    m_nPort = nPort;
    m_sError.clear();
    m_deadline = CSocketStream::Clock::now() + std::chrono::seconds(m_nTimeLimitSeconds);
    CSocketStream stream;
    if (!stream.Connect(sHost, nPort, m_deadline)) {
        SocketFailed(stream, "connect");
        return nullptr;
    }
    std::string sBlock;
    if (!Exchange(stream, CSearchFrame::Request(sQuery, nStart, nCount), sBlock))
        return nullptr;
    stream.Close();
    return sBlock.empty() ? EmptyAnswer() : Decode(sBlock);
}

bool CSearchClient::Exchange(CSocketStream& stream, const std::string& sRequest, std::string& sBlock)
{
    const auto deadline = m_deadline;
    if (!stream.SendAll(sRequest.data(), sRequest.size(), deadline))
        return SocketFailed(stream, "send");
    unsigned char length[CSearchFrame::kLengthBytes];
    if (!stream.RecvExact(length, sizeof(length), deadline))
        return SocketFailed(stream, "answer length");
    // A negative length is read by its absolute value.
    int64_t nLength = static_cast<int32_t>(CSearchFrame::ReadBE32(length));
    if (nLength < 0)
        nLength = -nLength;
    if (nLength > int64_t(kMaxAnswerBytes)) {
        m_sError = "search answer of " + std::to_string(nLength) + " bytes is over the limit of " +
                   std::to_string(kMaxAnswerBytes) + Where();
        return false;
    }
    sBlock.resize(static_cast<size_t>(nLength));
    if (nLength && !stream.RecvExact(sBlock.data(), sBlock.size(), deadline))
        return SocketFailed(stream, "answer");
    return true;
}

std::unique_ptr<char[]> CSearchClient::Decode(const std::string& sBlock)
{
    const auto* pBlock = reinterpret_cast<const uint8_t*>(sBlock.data());
    _tQuickLZHeader header;
    std::string sError;
    if (!CQuickLZDecoder::ReadHeader(pBlock, sBlock.size(), header, sError)) {
        m_sError = "corrupt search answer: " + sError + Where();
        return nullptr;
    }
    if (header.nSize > kMaxTextBytes) {
        m_sError = "search answer would decompress to " + std::to_string(header.nSize) + " bytes, over the limit of " +
                   std::to_string(kMaxTextBytes) + Where();
        return nullptr;
    }
    std::unique_ptr<char[]> pAnswer(new char[header.nSize + 1]);
    auto pDecoder = std::make_unique<CQuickLZDecoder>();
    if (!pDecoder->Decompress(pBlock, sBlock.size(), reinterpret_cast<uint8_t*>(pAnswer.get()), header.nSize,
                              sError)) {
        m_sError = "corrupt search answer: " + sError + Where();
        return nullptr;
    }
    pAnswer[header.nSize] = '\0';
    return pAnswer;
}

bool CSearchClient::SocketFailed(const CSocketStream& stream, const char* sStep)
{
    int nErrno = stream.FailureErrno();
    const char* sPhrase = ConnectPhrase(stream.Failure());
    if (*sPhrase) {
        std::printf("Error %d: %s\n", nErrno, sPhrase);
        m_sError = "Error " + std::to_string(nErrno) + ": " + sPhrase + ": " + std::strerror(nErrno);
    } else if (stream.Failure() == ESocketFailure::Timeout) {
        m_sError = "search service timed out (" + std::to_string(m_nTimeLimitSeconds) + " s) during the " + sStep;
    } else if (stream.Failure() == ESocketFailure::Closed) {
        m_sError = std::string("search service closed the connection during the ") + sStep + " after " +
                   std::to_string(stream.Received()) + " bytes";
    } else {
        if (stream.Failure() == ESocketFailure::Send)
            std::printf("send(): %s\nsend error no is %d\n", std::strerror(nErrno), nErrno);
        m_sError = std::string(sStep) + " failed: " + std::strerror(nErrno);
    }
    m_sError += Where();
    return false;
}
