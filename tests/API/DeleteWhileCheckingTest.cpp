// A checker instance or rule set deleted on one thread while a call runs on
// it on another: the call finishes on an instance that is still alive, and
// a check whose handle went away before it ended hands back no text (its
// texts went with the instance). Run under ThreadSanitizer with the
// concurrency suites, and under AddressSanitizer with all.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "Global/Globals.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

// Long enough that a deletion right after the start lands inside the check.
std::string LongReport()
{
    std::string sText;
    for (int i = 0; i < 3000; ++i)
        sText += "第" + std::to_string(i) + "段：本报告检查了论文的格式与内容，结果见下表。\n";
    return sText;
}

TEST(DeleteWhileChecking, InstanceOutlivesTheCallThatHoldsIt)
{
    CTempDataDir data;
    CSwitchGuard quiet(g_bLog, false);
    ASSERT_EQ(VESKAR_Init(data.Path().c_str()), VESKAR_INIT_OK) << VESKAR_GetLastErrorMsg();
    const std::string sReport = LongReport();
    int nDeletedDuring = 0;
    for (int nRound = 0; nRound < 4; ++nRound) {
        int nHandle = VESKAR_NewInstance();
        ASSERT_GT(nHandle, 0);
        std::atomic<int> nChecked {0};
        std::atomic<bool> bEnded {false};
        std::string sError;
        std::thread checker([&] {
            // Checks until the handle is gone; a text from a call that ended
            // before the deletion is not read, since the deletion frees it.
            while (VESKAR_CheckReportM(sReport.c_str(), "", "", VESKAR_REPORT_THESIS, VESKAR_FORMAT_JSON, false,
                                       nHandle))
                ++nChecked;
            sError = VESKAR_GetLastErrorMsg();
            bEnded = true;
        });
        // After a first whole check the next one starts at once, so the
        // deletion lands inside a call (a thread just started may not have
        // reached its first call yet, above all on a busy machine).
        while (nChecked == 0 && !bEnded)
            std::this_thread::yield();
        EXPECT_EQ(VESKAR_DeleteInstance(nHandle), 1);
        checker.join();
        if (sError == "VESKAR_CheckReportM: instance " + std::to_string(nHandle) + " was deleted during the call")
            ++nDeletedDuring;
        else
            EXPECT_EQ(sError, "VESKAR not init!");  // the deletion came between two checks
        EXPECT_EQ(VESKAR_GetResult(VESKAR_RESULT_CHECK, nHandle), nullptr);
    }
    EXPECT_GE(nDeletedDuring, 1);
    // The other instances were not disturbed.
    const char* sResult = VESKAR_CheckReportM("短文。", "", "", VESKAR_REPORT_THESIS, VESKAR_FORMAT_JSON, false,
                                              VESKAR_DEFAULT_INSTANCE);
    ASSERT_NE(sResult, nullptr) << VESKAR_GetLastErrorMsg();
    EXPECT_NE(std::string(sResult).find("TotalScore"), std::string::npos);
    VESKAR_Exit();
}

// The same for a rule-set handle of the engine; its texts are the engine's,
// so a text a scan returned stays readable after the deletion.
TEST(DeleteWhileChecking, RuleSetOutlivesTheScanThatHoldsIt)
{
    CTempDataDir data;
    CSwitchGuard quiet(g_bLog, false);
    ASSERT_EQ(VESKAR_Init(data.Path().c_str()), VESKAR_INIT_OK) << VESKAR_GetLastErrorMsg();
    const std::string sText = "甲方：南京某建设有限公司，乙方：某某设计院，合同金额人民币壹佰万元整。";
    for (int nRound = 0; nRound < 4; ++nRound) {
        int nHandle = RUX_NewInstance(VESKAR_REPORT_CONTRACT);
        ASSERT_GT(nHandle, 0) << RUX_GetLastErrorMsg();
        std::atomic<bool> bStarted {false};
        std::vector<std::string> vecHits;
        std::string sError;
        std::thread scanner([&] {
            for (;;) {
                bStarted = true;
                const char* sHits = RUX_ScanText(sText.c_str(), 7, nHandle);
                if (!sHits)
                    break;
                vecHits.push_back(sHits);
            }
            sError = RUX_GetLastErrorMsg();
        });
        while (!bStarted)
            std::this_thread::yield();
        EXPECT_EQ(RUX_DeleteInstance(nHandle), 1);
        scanner.join();
        EXPECT_EQ(sError, "GetRUXWorker  argument(handle " + std::to_string(nHandle) + ") is invalid!");
        // Every scan, the one the deletion overlapped too, saw the whole set.
        for (const std::string& sHits : vecHits)
            EXPECT_EQ(sHits, vecHits.front());
    }
    VESKAR_Exit();
}

}  // namespace
