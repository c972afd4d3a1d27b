// Instances made, looked up and deleted from several threads at once, and
// the per-thread last-error text.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "API/InstanceTable.h"
#include "Global/Globals.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

TEST(InstanceConcurrency, HandlesAreUniqueUnderConcurrentCreation)
{
    CTempDataDir data;
    CSwitchGuard quiet(g_bLog, false);
    ASSERT_EQ(VESKAR_Init(data.Path().c_str()), 1);
    constexpr int kThreads = 8;
    constexpr int kPerThread = 200;
    std::vector<std::vector<int>> vecHandles(kThreads);
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < kThreads; ++t) {
        vecThreads.emplace_back([t, &vecHandles] {
            for (int i = 0; i < kPerThread; ++i) {
                int nHandle = VESKAR_NewInstance();
                vecHandles[t].push_back(nHandle);
                GetReportCheckerWorker(nHandle / 2);  // lookups while the table grows
                if (i % 3 == 0)
                    VESKAR_DeleteInstance(nHandle);
            }
        });
    }
    for (auto& thread : vecThreads)
        thread.join();
    std::set<int> setAll;
    for (const auto& handles : vecHandles)
        setAll.insert(handles.begin(), handles.end());
    EXPECT_EQ(setAll.size(), static_cast<size_t>(kThreads * kPerThread));
    EXPECT_EQ(*setAll.begin(), 1);
    EXPECT_EQ(*setAll.rbegin(), kThreads * kPerThread);
    VESKAR_Exit();
}

TEST(InstanceConcurrency, LastErrorIsPerThread)
{
    CSwitchGuard quiet(g_bLog, false);
    std::atomic<int> nWrong {0};
    std::vector<std::thread> vecThreads;
    for (int t = 0; t < 4; ++t) {
        vecThreads.emplace_back([t, &nWrong] {
            std::string sExpected = "DC_DeleteInstance  argument(handle " + std::to_string(-t - 1) + ") is invalid!";
            for (int i = 0; i < 500; ++i) {
                VESKAR_DeleteInstance(-t - 1);
                if (sExpected != VESKAR_GetLastErrorMsg())
                    ++nWrong;
            }
        });
    }
    for (auto& thread : vecThreads)
        thread.join();
    EXPECT_EQ(nWrong.load(), 0);
}

}  // namespace
