// What the public header promises beyond single functions: the version in
// both forms, the named values, and how long returned texts stay valid.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "Global/Globals.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

TEST(HeaderContract, VersionAgreesInEveryForm)
{
    EXPECT_STREQ(VESKAR_LibVersion(), VESKAR_VERSION);
    EXPECT_EQ(VESKAR_LibVersionNumber(), VESKAR_VERSION_NUMBER);
    int nMajor = -1, nMinor = -1, nPatch = -1;
    ASSERT_EQ(std::sscanf(VESKAR_VERSION, "%d.%d.%d", &nMajor, &nMinor, &nPatch), 3);
    EXPECT_EQ(VESKAR_VERSION_NUMBER, nMajor * 1000000 + nMinor * 1000 + nPatch);

    CTempDataDir data;
    CSwitchGuard quiet(g_bLog, false);
    ASSERT_EQ(VESKAR_Init(data.Path().c_str()), VESKAR_INIT_OK);
    std::string sInfo = VESKAR_GetInfo();
    EXPECT_NE(sInfo.find(std::string("\"version\":\"") + VESKAR_VERSION + "\""), std::string::npos) << sInfo;
    VESKAR_Exit();
}

// [instance]: a text stays valid for at least 10,000 later texts of the
// same instance (AddressSanitizer sees a read of a freed one).
TEST(HeaderContract, InstanceTextsOutliveTenThousandLaterTexts)
{
    CTempDataDir data;
    CSwitchGuard quiet(g_bLog, false);
    ASSERT_EQ(VESKAR_Init(data.Path().c_str()), VESKAR_INIT_OK);
    const char* sFirst = VESKAR_CheckReportM("一段文字。", "", "", VESKAR_REPORT_THESIS, VESKAR_FORMAT_JSON, false,
                                             VESKAR_DEFAULT_INSTANCE);
    ASSERT_NE(sFirst, nullptr);
    const std::string sCopy = sFirst;
    for (int i = 0; i < 10000; ++i)
        ASSERT_NE(VESKAR_GetResult(VESKAR_RESULT_TUPLES, VESKAR_DEFAULT_INSTANCE), nullptr);
    EXPECT_EQ(sCopy, sFirst);
    VESKAR_Exit();
}

}  // namespace
