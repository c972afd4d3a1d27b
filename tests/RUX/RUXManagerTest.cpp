// The report-type manager: processors made on first use and listed in the
// manager file, types read back in order, edits out of range refused
// without change, and corrupt files that fail cleanly.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "Global/Globals.h"
#include "RUX/Audit.h"
#include "RUX/RUX.h"
#include "RUX/RUXManager.h"
#include "Utility/BinaryWriter.h"
#include "Utility/FileUtility.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

class RUXManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bLog = false;
        ASSERT_EQ(RUX_Init(m_data.Path().c_str(), nullptr), 1);
    }
    void TearDown() override
    {
        RUX_Exit();
        g_bLog = true;
    }
    std::string ManagerBytes(std::initializer_list<int32_t> types) const
    {
        CBinaryWriter w;
        w.Write(static_cast<uint64_t>(types.size()));
        for (int32_t n : types)
            w.Write(n);
        return w.Data();
    }
    CTempDataDir m_data;
};

TEST_F(RUXManagerTest, UnusedTypeGetsProcessorAndIsListed)
{
    // Types 1 to 7 have default rules in the data folder; 17 has none.
    CRUXManager manager(m_data.Path().c_str());
    ASSERT_TRUE(WriteTestFile(manager.ManagerFile(), ManagerBytes({})));
    ASSERT_EQ(manager.Load(), 1);
    EXPECT_EQ(manager.GetProcesser(17), nullptr);
    EXPECT_EQ(g_sLastErrorMessage, "Report Type=17 Processor not exists.");
    EXPECT_EQ(manager.GetRUXRuleListId(17), "[]");
    EXPECT_NE(manager.GetProcesser(17), nullptr);
    std::string sData;
    ASSERT_TRUE(ReadWholeFile(manager.ManagerFile(), sData));
    EXPECT_EQ(sData, ManagerBytes({17}));
}

TEST_F(RUXManagerTest, TypesLoadBackSorted)
{
    CRUXManager manager(m_data.Path().c_str());
    ASSERT_TRUE(WriteTestFile(manager.ManagerFile(), ManagerBytes({3, 1})));
    ASSERT_EQ(manager.Load(), 1);
    ASSERT_EQ(manager.Save(), 1);
    std::string sData;
    ASSERT_TRUE(ReadWholeFile(manager.ManagerFile(), sData));
    EXPECT_EQ(sData, ManagerBytes({1, 3}));
}

TEST_F(RUXManagerTest, DeleteOutOfRangeChangesNothing)
{
    CRUXManager manager(m_data.Path().c_str());
    const char* sRules =
        "<item><no>1</no><rule>{[甲方]}{[：]}{[/n]}s</rule><action>extract</action><argument>party_a</argument></item>"
        "<item><no>2</no><rule>{[乙方]}{[：]}{[/n]}s</rule><action>extract</action><argument>party_b</argument></item>"
        "<item><no>3</no><rule>{[总价]}{[/m]}s</rule><action>extract</action><argument>contract_fee</argument></item>"
        "<audits><audit><no>A1</no><rule>audit_unique</rule><field>party_a</field></audit></audits>";
    ASSERT_EQ(manager.ImportRUXRulesFromMem(sRules, true, 4), 1) << manager.GetMessages(4);
    std::string sRuleList = manager.GetRUXRuleListId(4), sAuditList = manager.GetAuditRuleListId(4);
    EXPECT_EQ(manager.DelRUXRule(5, 4), -1);
    EXPECT_EQ(manager.DelAuditRule(5, 4), -1);
    EXPECT_EQ(manager.GetRUXRuleListId(4), sRuleList);
    EXPECT_EQ(manager.GetAuditRuleListId(4), sAuditList);
    EXPECT_EQ(manager.GetRUXRuleInfo(5, 4), "");
    // The audit rule follows its field when extraction rules change.
    CAudit* pAudit = manager.GetProcesser(4);
    EXPECT_EQ(pAudit->RulesOfField(pAudit->GetRUX()->GetKeyId("party_a")).size(), 1u);
    EXPECT_EQ(manager.DelRUXRule(0, 4), 1);
    EXPECT_EQ(pAudit->GetRules()[0].fields_id[0], pAudit->GetRUX()->GetKeyId("party_a"));
    // Both survive a restart.
    CRUXManager again(m_data.Path().c_str());
    ASSERT_EQ(again.Load(), 1);
    EXPECT_EQ(again.GetAuditRuleListId(4), sAuditList);
}

TEST_F(RUXManagerTest, CorruptFilesFailCleanly)
{
    CRUXManager manager(m_data.Path().c_str());
    ASSERT_TRUE(WriteTestFile(manager.ManagerFile(), ManagerBytes({1, 3}).substr(0, 14)));
    EXPECT_EQ(manager.Load(), -1);
    EXPECT_EQ(g_sLastErrorMessage, "Failed reading file " + manager.ManagerFile());
    EXPECT_TRUE(manager.ReportTypes().empty());
    // A corrupt audit file leaves its type empty but the others load.
    ASSERT_TRUE(WriteTestFile(manager.ManagerFile(), ManagerBytes({1, 3})));
    ASSERT_TRUE(WriteTestFile(m_data.DataFile("RUX_1.audit"), "garbage"));
    ASSERT_EQ(manager.Load(), 1);
    EXPECT_EQ(manager.ReportTypes().size(), 2u);
    EXPECT_TRUE(manager.GetProcesser(1)->GetRuleOrgs().empty());
}

}  // namespace
