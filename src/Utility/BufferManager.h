// Keeps the strings that exported functions return alive after the call and
// frees them later in large batches, oldest first, so the host never frees.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <vector>

class CBufferManager {
public:
    static constexpr size_t kKeepUnit = 2000;
    static constexpr size_t kBatchSize = 5 * kKeepUnit;     // freed at once
    static constexpr size_t kTriggerSize = 10 * kKeepUnit;  // list size that starts a release

    CBufferManager() = default;
    CBufferManager(const CBufferManager&) = delete;
    CBufferManager& operator=(const CBufferManager&) = delete;
    ~CBufferManager();

    // Takes ownership of an array made with new[]; returns it.
    char* AddBuffer(char* pBuffer);
    // Keeps a copy of the string; returns the copy.
    const char* AddBuffer(const char* sText);
    // One release pass: frees the oldest batch when the list is past the
    // trigger size, or everything when bAll is set.
    void ReleaseBuf(bool bAll);

    size_t Size();

private:
    void Append(char* pBuffer);

    std::mutex m_hBuffer;
    std::vector<char*> m_vecBuffer;  // owned arrays; null once freed
    std::atomic<int> m_nBufferWritingThread {0};
};
