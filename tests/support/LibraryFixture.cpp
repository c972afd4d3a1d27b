// Start-up for tests that go through the C interface.
#include "support/LibraryFixture.h"

#include <json/json.h>

#include "Global/Globals.h"
#include "support/DocxBuilder.h"
#include "veskar.h"

void CLibraryTest::SetUp()
{
    ResetSwitches();
    g_sLogPath = m_logDir.Path();
    ASSERT_EQ(VESKAR_Init(m_data.Path().c_str()), 1) << VESKAR_GetLastErrorMsg();
}

void CLibraryTest::TearDown()
{
    VESKAR_Exit();
    ResetSwitches();
    g_sLogPath.clear();
}

std::string CLibraryTest::WriteSampleDocx(const std::string& sName) const
{
    std::string sBody = CDocxBuilder::Para("第1章 绪论") + CDocxBuilder::Para("本文研究道路裂缝检测方法。") +
                        CDocxBuilder::Para("1.1 研究背景") + CDocxBuilder::Para("道路养护需要及时发现裂缝。") +
                        CDocxBuilder::Table({{"方法", "精度"}, {"本文", "0.93"}});
    std::string sPath = m_docs.File(sName);
    CDocxBuilder().Body(sBody).Write(sPath);
    return sPath;
}

std::string Findings(const char* sJson)
{
    Json::Value root;
    if (!sJson || !Json::Reader().parse(sJson, root))
        return "unreadable";
    std::string sOut;
    for (const Json::Value& check : root["Errors"])
        sOut += check["errorno"].asString() + ":" + check["OrgStr"].asString() + ";";
    return sOut;
}
