// The release policy of returned strings at its thresholds, and adds from
// several threads at once.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Utility/BufferManager.h"

namespace {

TEST(BufferManager, FreesTheOldestBatchOnlyPastTheTrigger)
{
    CBufferManager manager;
    const char* sFirst = manager.AddBuffer("first");
    for (size_t i = 1; i < CBufferManager::kTriggerSize; ++i)
        manager.AddBuffer("x");
    EXPECT_EQ(manager.Size(), 20000u);
    manager.AddBuffer("20001st");  // the list held exactly 20000: nothing freed
    EXPECT_EQ(manager.Size(), 20001u);
    EXPECT_STREQ(sFirst, "first");
    manager.AddBuffer("20002nd");  // past 20000: the oldest 10000 go
    EXPECT_EQ(manager.Size(), 10002u);
}

TEST(BufferManager, KeepsCopiesAndOwnedArrays)
{
    CBufferManager manager;
    const char* sEmpty = manager.AddBuffer("");
    ASSERT_NE(sEmpty, nullptr);
    EXPECT_EQ(sEmpty[0], '\0');
    char* pOwned = new char[4];
    std::strcpy(pOwned, "abc");
    EXPECT_EQ(manager.AddBuffer(pOwned), pOwned);
    std::string sSource = "copied";
    const char* sCopy = manager.AddBuffer(sSource.c_str());
    sSource[0] = 'X';
    EXPECT_STREQ(sCopy, "copied");
    manager.ReleaseBuf(true);  // everything freed; destruction frees nothing twice
}

// Passes triggered from several threads must never free an entry twice or
// one that is still young; the sanitizer builds watch the frees.
TEST(BufferManager, ConcurrentAddsReleaseInBatches)
{
    CBufferManager manager;
    constexpr int kThreads = 4;
    constexpr int kPerThread = 15000;  // 60000 in all: several release passes
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < kThreads; ++t) {
        vecThreads.emplace_back([t, &manager] {
            std::string sText = "thread" + std::to_string(t);
            for (int i = 0; i < kPerThread; ++i)
                manager.AddBuffer(sText.c_str());
            manager.Size();  // orders this thread's adds before later frees
        });
    }
    for (auto& thread : vecThreads)
        thread.join();
    EXPECT_LE(manager.Size(), CBufferManager::kTriggerSize + kThreads);
    EXPECT_GE(manager.Size(), CBufferManager::kBatchSize);
    const char* sLast = manager.AddBuffer("last");
    EXPECT_STREQ(sLast, "last");
}

}  // namespace
