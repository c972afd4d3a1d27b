// The idle-time reset of jobs in hand, on a thread per job being worked on.
#include "JobHeartbeat.h"

#include <chrono>

CJobHeartbeat::CJobHeartbeat(const _tRedisAddress& address, std::string sStream, std::string sGroup,
                             std::string sConsumer, int nIntervalMs, int nLimitMs)
    : m_connection(address), m_sStream(std::move(sStream)), m_sGroup(std::move(sGroup)),
      m_sConsumer(std::move(sConsumer)), m_nIntervalMs(nIntervalMs), m_nLimitMs(nLimitMs)
{
}

CJobHeartbeat::~CJobHeartbeat()
{
    End();
}

void CJobHeartbeat::Begin(const std::string& sJobId)
{
    End();
    m_bEnd = false;
    m_thread = std::thread([this, sJobId]() { Beat(sJobId); });
}

void CJobHeartbeat::End()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bEnd = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CJobHeartbeat::Beat(const std::string& sJobId)
{
    auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_nLimitMs);
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, std::chrono::milliseconds(m_nIntervalMs), [this]() { return m_bEnd; })) {
        if (std::chrono::steady_clock::now() >= limit) {
            m_wake.wait(lock, [this]() { return m_bEnd; });
            return;
        }
        lock.unlock();
        std::string sError;
        // A failed beat is not worth a message: at worst another worker
        // takes the job over and it is done twice, with the same result.
        if (m_connection.Connected() || m_connection.Connect(sError))
            m_connection.Command({"XCLAIM", m_sStream, m_sGroup, m_sConsumer, "0", sJobId, "JUSTID"}, sError);
        lock.lock();
    }
}
