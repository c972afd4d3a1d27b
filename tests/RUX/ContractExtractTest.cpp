// End to end: a real contract (copied out of the corpus) scanned with the
// shipped contract rule set, through the exported scan of a rule-set
// instance; the companies, amounts, dates and the cited standard with its
// number come out, and the output files are written beside the copy.
#include <gtest/gtest.h>

#include <json/json.h>

#include <string>

#include "Global/Globals.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

namespace {

class ContractExtractTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string sCorpus = std::string(VESKAR_TEST_CORPUS_DIR) + "/njconstruct/合同.docx";
        if (!FileExists(sCorpus))
            GTEST_SKIP() << "corpus document missing: " << sCorpus;
        std::string sData;
        ASSERT_TRUE(ReadWholeFile(sCorpus, sData));
        ASSERT_TRUE(WriteTestFile(m_doc.File("contract.docx"), sData));
        ASSERT_EQ(RUX_Init(m_data.Path().c_str(), nullptr), 1);
    }
    void TearDown() override { RUX_Exit(); }
    CSwitchGuard m_quiet {g_bLog, false};
    CTempDataDir m_data;
    CTempDir m_doc;
};

// Values of one key in the knowledge JSON.
std::string ValuesOf(const Json::Value& root, const std::string& sKey)
{
    std::string sOut;
    for (const auto& val : root["SingleKey_result"]["KeyVals"])
        if (val["attribute"].asString() == sKey)
            sOut += val["key_value"].asString() + ";";
    return sOut;
}

TEST_F(ContractExtractTest, CompaniesAmountsDatesAndStandards)
{
    std::string sRules = std::string(VESKAR_TEST_SOURCE_DIR) + "/data/Rules/contract.rux";
    ASSERT_EQ(RUXSet_Import(sRules.c_str(), true, 5), 1);
    std::string sDoc = m_doc.File("contract.docx");
    const char* sKnowledge = RUXSet_Extract(sDoc.c_str(), 5, false);
    ASSERT_NE(sKnowledge, nullptr) << RUX_GetLastErrorMsg();
    Json::Value root;
    ASSERT_TRUE(Json::Reader().parse(sKnowledge, root));
    // Each party is named at its label and again where the contract is signed.
    EXPECT_EQ(ValuesOf(root, "party_a").find("江西玉山南方水泥有限公司;"), 0u);
    EXPECT_EQ(ValuesOf(root, "party_b").find("中国中材国际工程股份有限公司;"), 0u);
    EXPECT_EQ(ValuesOf(root, "credit_code"), "913611237511350966;91320000710929340E;");
    EXPECT_EQ(ValuesOf(root, "contract_fee"), "1,052,000,000.00;");
    EXPECT_EQ(ValuesOf(root, "contract_feebig"), "壹拾亿零伍仟贰佰万元整;");
    EXPECT_EQ(ValuesOf(root, "item_fee_sum"), "1052000000;");
    EXPECT_EQ(ValuesOf(root, "sign_date"), "2021年2月2日;");
    // Its planned date stands after a label of its own trade (投料时间) that
    // the general rules leave alone.
    EXPECT_EQ(ValuesOf(root, "plan_date"), "");
    EXPECT_EQ(ValuesOf(root, "duration"), "12个月;");
    // Output files beside the copy, none beside the corpus original.
    EXPECT_NE(ReadTestFile(m_doc.File("contract_keyVal.xml")).find("<key_value>2021年2月2日</key_value>"),
              std::string::npos);
    EXPECT_TRUE(FileExists(m_doc.File("contract_kg.json")));
}

TEST_F(ContractExtractTest, HandleScansWriteTheHitList)
{
    std::string sRules = std::string(VESKAR_TEST_SOURCE_DIR) + "/data/Rules/contract.rux";
    ASSERT_EQ(RUX_ImportRule(sRules.c_str(), true, 0), 1);
    std::string sDoc = m_doc.File("contract.docx");
    const char* sHits = RUX_ScanDoc(sDoc.c_str(), 0, false, 0);
    ASSERT_NE(sHits, nullptr) << RUX_GetLastErrorMsg();
    EXPECT_NE(std::string(sHits).find("<value>江西玉山南方水泥有限公司</value>"), std::string::npos);
    EXPECT_EQ(ReadTestFile(sDoc + "_RUX_result.xml"), std::string(sHits) + "\n");
    EXPECT_TRUE(FileExists(m_doc.File("contract_keyVal.xml")));
    // The saved document result reloads and scans to the same hits.
    const char* sReloaded = RUX_ScanDocXML(m_doc.File("contract.xml").c_str(), false, 0);
    ASSERT_NE(sReloaded, nullptr) << RUX_GetLastErrorMsg();
    EXPECT_NE(std::string(sReloaded).find("<value>中国中材国际工程股份有限公司</value>"), std::string::npos);
    const char* sOne = RUX_ScanText("本合同于2021年2月2日签订。", 9, 0);
    ASSERT_NE(sOne, nullptr);
    EXPECT_NE(std::string(sOne).find("<para_id>00000009</para_id>"), std::string::npos);
    EXPECT_EQ(RUX_ScanText("x", 0, 7), nullptr);
    EXPECT_STREQ(RUX_GetLastErrorMsg(), "GetRUXWorker  argument(handle 7) is invalid!");
    // A text file: one paragraph per line.
    ASSERT_TRUE(WriteTestFile(m_doc.File("c.txt"), "甲方\n本合同于2021年2月2日签订。\n"));
    const char* sFileHits = RUX_ScanTextFile(m_doc.File("c.txt").c_str(), false, 0);
    ASSERT_NE(sFileHits, nullptr);
    EXPECT_NE(std::string(sFileHits).find("<para_id>00000001</para_id>"), std::string::npos);
    // The same lines in GBK give the same hits: the file is decoded first.
    std::string sGbk;
    ASSERT_TRUE(Utf8ToGbk("甲方\n本合同于2021年2月2日签订。\n", sGbk));
    ASSERT_TRUE(WriteTestFile(m_doc.File("gbk.txt"), sGbk));
    const char* sGbkHits = RUX_ScanTextFile(m_doc.File("gbk.txt").c_str(), false, 0);
    ASSERT_NE(sGbkHits, nullptr);
    EXPECT_NE(std::string(sGbkHits).find("<value>2021年2月2日</value>"), std::string::npos) << sGbkHits;
    EXPECT_EQ(ReadTestFile(m_doc.File("c_keyVal.xml")), ReadTestFile(m_doc.File("gbk_keyVal.xml")));
    EXPECT_EQ(RUX_ScanTextFile(m_doc.File("missing.txt").c_str(), false, 0), nullptr);
    EXPECT_EQ(std::string(RUX_GetLastErrorMsg()), "Failed open file " + m_doc.File("missing.txt"));
}

}  // namespace
