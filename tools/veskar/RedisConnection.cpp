// The hiredis link of the queue commands.
#include "RedisConnection.h"

#include <cstdlib>
#include <hiredis/hiredis.h>

namespace {

timeval ToTimeval(int nMs)
{
    timeval tv{};
    tv.tv_sec = nMs / 1000;
    tv.tv_usec = (nMs % 1000) * 1000;
    return tv;
}

bool ParseNumber(const std::string& sText, int nMax, int& nValue)
{
    if (sText.empty() || sText.size() > 6 || sText.find_first_not_of("0123456789") != std::string::npos)
        return false;
    nValue = std::atoi(sText.c_str());
    return nValue <= nMax;
}

const int kConnectMs = 3000;

}  // namespace

void RedisReplyFree::operator()(redisReply* pReply) const
{
    freeReplyObject(pReply);
}

CRedisConnection::CRedisConnection(_tRedisAddress address, int nCommandMs)
    : m_address(std::move(address)), m_nCommandMs(nCommandMs)
{
}

CRedisConnection::~CRedisConnection()
{
    Drop();
}

bool CRedisConnection::ParseUrl(const std::string& sUrl, _tRedisAddress& address, std::string& sError)
{
    const std::string sScheme = "redis://";
    sError = "the Redis URL '" + sUrl + "' is not redis://host[:port][/db]";
    if (sUrl.compare(0, sScheme.size(), sScheme) != 0)
        return false;
    std::string sRest = sUrl.substr(sScheme.size());
    size_t nSlash = sRest.find('/');
    if (nSlash != std::string::npos) {
        if (!ParseNumber(sRest.substr(nSlash + 1), 100000, address.nDatabase))
            return false;
        sRest.erase(nSlash);
    }
    size_t nColon = sRest.rfind(':');
    if (nColon != std::string::npos) {
        if (!ParseNumber(sRest.substr(nColon + 1), 65535, address.nPort) || address.nPort == 0)
            return false;
        sRest.erase(nColon);
    }
    if (sRest.empty() || sRest.find_first_of("@?# ") != std::string::npos)
        return false;
    address.sHost = sRest;
    sError.clear();
    return true;
}

std::string CRedisConnection::Describe() const
{
    return "redis://" + m_address.sHost + ":" + std::to_string(m_address.nPort) + "/" +
           std::to_string(m_address.nDatabase);
}

bool CRedisConnection::Connect(std::string& sError)
{
    Drop();
    redisContext* pContext = redisConnectWithTimeout(m_address.sHost.c_str(), m_address.nPort, ToTimeval(kConnectMs));
    if (!pContext || pContext->err) {
        sError = "cannot reach Redis at " + Describe() + ": " + (pContext ? pContext->errstr : "out of memory");
        if (pContext)
            redisFree(pContext);
        return false;
    }
    m_pContext = pContext;
    if (redisSetTimeout(m_pContext, ToTimeval(m_nCommandMs)) != REDIS_OK) {
        sError = "cannot set the Redis time limit";
        Drop();
        return false;
    }
    if (m_address.nDatabase != 0 && !Command({"SELECT", std::to_string(m_address.nDatabase)}, sError))
        return false;
    return true;
}

RedisReplyPtr CRedisConnection::Command(const std::vector<std::string>& vecArgs, std::string& sError)
{
    if (!m_pContext) {
        sError = "not connected to Redis at " + Describe();
        return nullptr;
    }
    std::vector<const char*> vecPointers;
    std::vector<size_t> vecLengths;
    for (const auto& sArg : vecArgs) {
        vecPointers.push_back(sArg.data());
        vecLengths.push_back(sArg.size());
    }
    auto* pRaw = static_cast<redisReply*>(redisCommandArgv(m_pContext, static_cast<int>(vecArgs.size()),
                                                           vecPointers.data(), vecLengths.data()));
    if (!pRaw) {
        sError = "lost Redis at " + Describe() + ": " + m_pContext->errstr;
        Drop();
        return nullptr;
    }
    RedisReplyPtr pReply(pRaw);
    if (pReply->type == REDIS_REPLY_ERROR) {
        sError = std::string(pReply->str, pReply->len);
        return nullptr;
    }
    return pReply;
}

void CRedisConnection::Drop()
{
    if (m_pContext)
        redisFree(m_pContext);
    m_pContext = nullptr;
}
