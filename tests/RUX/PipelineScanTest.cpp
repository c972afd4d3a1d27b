// The rule scan reached through a checker instance: RUX_ScanTextMem runs the
// report type's rule set (when the data folder has one) over every line,
// and knowledge extraction returns what the set finds in a document.
#include <gtest/gtest.h>

#include <json/json.h>

#include <string>

#include "support/LibraryFixture.h"
#include "support/TempDir.h"
#include "veskar.h"

namespace {

class PipelineScanTest : public CLibraryTest {};

const char* const kRules =
    "<item><no>P1</no><rule>{[甲方]}+2+{[乙方]}s</rule><action>extract</action><argument>party</argument></item>";

TEST_F(PipelineScanTest, ScanTextMemTracesEveryLineWithTheTypesRules)
{
    // No rule set for type 31 yet: nothing to trace.
    const char* sEmpty = RUX_ScanTextMem("甲方乙方", -1, 31, 0);
    ASSERT_NE(sEmpty, nullptr);
    EXPECT_STREQ(sEmpty, "[]");
    ASSERT_TRUE(WriteTestFile(m_docs.File("r.rux"), kRules));
    ASSERT_EQ(RUXSet_Import(m_docs.File("r.rux").c_str(), true, 31), 1);
    const char* sTrace = RUX_ScanTextMem("甲方乙方\n甲方，乙方", -1, 31, 0);
    ASSERT_NE(sTrace, nullptr);
    Json::Value root;
    ASSERT_TRUE(Json::Reader().parse(sTrace, root));
    ASSERT_EQ(root["debug"].size(), 2u);
    EXPECT_EQ(root["debug"][1]["original"].asString(), "甲方，乙方");
    const Json::Value& vals = root["SingleKey_result"]["KeyVals"];
    ASSERT_EQ(vals.size(), 2u);
    EXPECT_EQ(vals[0]["para_id"].asString(), "00000000");
    EXPECT_EQ(vals[1]["para_id"].asString(), "00000001");
    EXPECT_EQ(vals[1]["key_value"].asString(), "乙方");
}

}  // namespace
