// A connection to one Redis server through hiredis: reads redis://host:port[/db],
// connects and runs commands with time limits, and says when the link broke
// so the caller can connect again.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct redisContext;
struct redisReply;

struct _tRedisAddress {
    std::string sHost;
    int nPort = 6379;
    int nDatabase = 0;
};

struct RedisReplyFree {
    void operator()(redisReply* pReply) const;
};
using RedisReplyPtr = std::unique_ptr<redisReply, RedisReplyFree>;

class CRedisConnection {
public:
    // nCommandMs bounds every command, blocking reads included.
    explicit CRedisConnection(_tRedisAddress address, int nCommandMs = 10000);
    ~CRedisConnection();
    CRedisConnection(const CRedisConnection&) = delete;
    CRedisConnection& operator=(const CRedisConnection&) = delete;

    // redis://host[:port][/db]; false with the reason otherwise.
    static bool ParseUrl(const std::string& sUrl, _tRedisAddress& address, std::string& sError);

    bool Connect(std::string& sError);
    bool Connected() const { return m_pContext != nullptr; }
    // The reply, or null with sError set: a Redis error reply, or a broken
    // link (then Connected() turns false).
    RedisReplyPtr Command(const std::vector<std::string>& vecArgs, std::string& sError);
    std::string Describe() const;

private:
    void Drop();

    _tRedisAddress m_address;
    int m_nCommandMs;
    redisContext* m_pContext = nullptr;  // owned; freed by Drop
};
