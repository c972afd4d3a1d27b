// Keeps the jobs a worker thread holds from looking abandoned while a long
// document is read and checked: on a connection of its own it claims the
// job again for the same consumer now and then, which resets its idle time
// without counting a new delivery, so no other worker takes it over. After
// a time limit it stops, so a check that hangs does not hold its job for ever.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "RedisConnection.h"

class CJobHeartbeat {
public:
    CJobHeartbeat(const _tRedisAddress& address, std::string sStream, std::string sGroup, std::string sConsumer,
                  int nIntervalMs, int nLimitMs);
    ~CJobHeartbeat();
    CJobHeartbeat(const CJobHeartbeat&) = delete;
    CJobHeartbeat& operator=(const CJobHeartbeat&) = delete;

    // Beats for this job until End; one job at a time.
    void Begin(const std::string& sJobId);
    void End();

private:
    void Beat(const std::string& sJobId);

    CRedisConnection m_connection;  // used by the beating thread only
    std::string m_sStream;
    std::string m_sGroup;
    std::string m_sConsumer;
    int m_nIntervalMs;
    int m_nLimitMs;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_bEnd = false;
    std::thread m_thread;
};
