// A returned string stays valid until at least kBatchSize more strings have
// been added after the list passed kTriggerSize entries.
#include "Utility/BufferManager.h"

#include <cstring>

CBufferManager::~CBufferManager()
{
    ReleaseBuf(true);
}

char* CBufferManager::AddBuffer(char* pBuffer)
{
    ReleaseBuf(false);
    Append(pBuffer);
    return pBuffer;
}

const char* CBufferManager::AddBuffer(const char* sText)
{
    ReleaseBuf(false);
    if (!sText)
        sText = "";
    size_t nLen = std::strlen(sText);
    char* pCopy = new char[nLen + 1];
    std::memcpy(pCopy, sText, nLen + 1);
    Append(pCopy);
    return pCopy;
}

void CBufferManager::Append(char* pBuffer)
{
    std::lock_guard<std::mutex> lock(m_hBuffer);
    m_vecBuffer.push_back(pBuffer);
}

size_t CBufferManager::Size()
{
    std::lock_guard<std::mutex> lock(m_hBuffer);
    return m_vecBuffer.size();
}

void CBufferManager::ReleaseBuf(bool bAll)
{
    size_t nBatch = kBatchSize;
    size_t nSize = Size();
    if (bAll) {
        nBatch = nSize;
        ++m_nBufferWritingThread;
    } else {
        // Claim the pass atomically: two overlapping passes would each free
        // a batch and so free strings far younger than the policy promises.
        int nIdle = 0;
        if (nSize < kTriggerSize || !m_nBufferWritingThread.compare_exchange_strong(nIdle, 1))
            return;
    }
    if (!bAll)
        nSize = Size();  // another pass may have shortened the list meanwhile
    if ((bAll && nBatch != 0) || (!bAll && nSize > kTriggerSize)) {
        for (size_t i = 0;; ++i) {
            std::lock_guard<std::mutex> lock(m_hBuffer);
            if (i >= nBatch || i >= m_vecBuffer.size())
                break;
            delete[] m_vecBuffer[i];
            m_vecBuffer[i] = nullptr;
        }
        std::lock_guard<std::mutex> lock(m_hBuffer);
        if (m_vecBuffer.size() > nBatch)
            m_vecBuffer.erase(m_vecBuffer.begin(), m_vecBuffer.begin() + static_cast<std::ptrdiff_t>(nBatch));
    }
    --m_nBufferWritingThread;
}
