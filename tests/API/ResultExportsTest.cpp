// Reading saved results through the C interface.
#include <gtest/gtest.h>

#include <string>

#include "Global/Globals.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

TEST(ResultExports, LoadsSavedResultsAsJson)
{
    CTempDataDir data;
    CSwitchGuard quiet(g_bLog, false);
    ASSERT_EQ(VESKAR_Init(data.Path().c_str()), 1);
    std::string sFile = data.File("a_Check.xml");
    WriteTestFile(sFile, "<VESKAR><CheckResults><docxFile>a</docxFile><Errors><check><paraId>0000000B</paraId>"
                         "<errorno>1.1.1</errorno><OrgStr>x&amp;y</OrgStr></check></Errors></CheckResults></VESKAR>");
    const char* sJson = VESKAR_LoadCheckResult(sFile.c_str(), 0);
    ASSERT_NE(sJson, nullptr) << VESKAR_GetLastErrorMsg();
    std::string sText = sJson;
    EXPECT_NE(sText.find("\"OrgStr\" : \"x&y\""), std::string::npos) << sText;
    EXPECT_NE(sText.find("\"TotalScore\" : 99.5"), std::string::npos);
    EXPECT_EQ(VESKAR_LoadCheckResult(data.File("none.xml").c_str(), 0), nullptr);
    EXPECT_EQ(VESKAR_LoadCheckResult(sFile.c_str(), 7), nullptr);
    EXPECT_STREQ(VESKAR_GetLastErrorMsg(), "VESKAR not init!");
    VESKAR_Exit();
}

}  // namespace
