// The example rule source shipped in data/Rules: every rule is accepted,
// every action occurs, and the set reloads and re-imports identically.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

namespace {

TEST(ExampleRulesTest, ImportsReloadsAndReimportsIdentically)
{
    CSwitchGuard quiet(g_bLog, false);
    CSwitchGuard countries(g_bCountryDetect, true);
    CTempDir dir;
    CRUX set(dir.Path().c_str(), 1);
    std::string sSource = std::string(VESKAR_TEST_SOURCE_DIR) + "/data/Rules/example.rux";
    ASSERT_EQ(set.ImportRule(sSource.c_str(), true), 1);
    EXPECT_TRUE(set.GetMessages().empty()) << set.GetMessages().front();
    EXPECT_GE(set.GetRuleCount(), 300u);
    std::set<int> setActions;
    for (const _tRuleOrg& rule : set.GetRuleOrgs())
        setActions.insert(rule.action_id < 17 ? rule.action_id : 17);
    EXPECT_EQ(setActions.size(), 18u);  // the 17 table actions and a custom one

    std::string sExport = ReadTestFile(set.ExportFile());
    CRUX reloaded(dir.Path().c_str(), 1);
    ASSERT_EQ(reloaded.Load(), 1);
    ASSERT_EQ(reloaded.Export(dir.File("reloaded.txt").c_str()), 1);
    EXPECT_EQ(ReadTestFile(dir.File("reloaded.txt")), sExport);
    CRUX again(dir.Path().c_str(), 2);
    ASSERT_EQ(again.ImportRule(set.ExportFile().c_str(), true), 1);
    EXPECT_EQ(ReadTestFile(again.ExportFile()), sExport);
}

}  // namespace
