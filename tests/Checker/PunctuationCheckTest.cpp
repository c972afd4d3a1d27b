// End to end: texts checked through the C interface give the punctuation
// and word findings with the catalogue's messages, under their switches.
#include <gtest/gtest.h>

#include <json/json.h>

#include <string>

#include "Global/Globals.h"
#include "Spelling/SpellingChecker.h"
#include "support/LibraryFixture.h"
#include "support/SwitchGuard.h"
#include "veskar.h"

namespace {

class PunctuationCheckTest : public CLibraryTest {
protected:
    void TearDown() override
    {
        SetLocalSpellingProvider(nullptr);
        CLibraryTest::TearDown();
    }
    // "code:found->new@offset;" of the punctuation and word findings of a
    // thesis text (report type 6).
    static std::string Check(const char* sText, std::string* pMessages = nullptr)
    {
        const char* sJson = VESKAR_CheckReportM(sText, "", "", 6, 1, false, 0);
        Json::Value root;
        if (!sJson || !Json::Reader().parse(sJson, root))
            return "unreadable";
        std::string sOut;
        for (const Json::Value& e : root["Errors"]) {
            std::string sCode = e["errorno"].asString();
            if (sCode.rfind("99.", 0) != 0 && sCode.rfind("1.5.", 0) != 0)
                continue;
            sOut += sCode + ":" + e["OrgStr"].asString() + "->" + e["NewStr"].asString() + "@" +
                    std::to_string(e["offset"].asInt()) + ";";
            if (pMessages)
                *pMessages += e["errormsg"].asString() + "\n";
        }
        return sOut;
    }
};

TEST_F(PunctuationCheckTest, PunctuationFindingsOfAText)
{
    std::string sMessages;
    EXPECT_EQ(Check("他来了。，我们走了。\n他说“你好）。\n甲、乙、和丙都来了。\n", &sMessages),
              "99.3:，->??@12;99.5:“->??@6;99.4:、->@9;");
    EXPECT_NE(sMessages.find("括号或引号不成对"), std::string::npos) << sMessages;
    EXPECT_NE(sMessages.find("顿号"), std::string::npos) << sMessages;
    EXPECT_EQ(Check("实验表明,该方法有效.\n共1,000元，约3.14倍。\n"), "99.3:,->，@12;99.3:.->。@28;");
}

TEST_F(PunctuationCheckTest, SwitchesGovernThePass)
{
    const char* sText = "他来了。，我们我们走了“。\n";
    {
        CSwitchGuard punctuation(g_bPunctionCheck, false);
        CSwitchGuard spelling(g_bSpellingCheck, false);
        EXPECT_EQ(Check(sText), "");
    }
    // Spelling alone: the word rules, but no punctuation finding, also not
    // the unpaired quotation mark at the end.
    CSwitchGuard punctuation(g_bPunctionCheck, false);
    CSwitchGuard spelling(g_bSpellingCheck, true);
    std::string sHost = g_sSpellingHostIP;
    g_sSpellingHostIP = "local";
    SetLocalSpellingProvider([](const std::string&) { return std::string(R"({"pred_sentences":[]})"); });
    EXPECT_EQ(Check(sText), "1.5.3:我们我们->我们@15;");
    g_sSpellingHostIP = sHost;
}

TEST_F(PunctuationCheckTest, ACorrectionProposedAgainAndAgainIsTheAuthorsUsage)
{
    CSwitchGuard spelling(g_bSpellingCheck, true);
    std::string sHost = g_sSpellingHostIP;
    g_sSpellingHostIP = "local";
    // The service takes 鸡 for 机 wherever it sees it.
    SetLocalSpellingProvider([](const std::string& sSentence) {
        size_t nAt = sSentence.find("鸡");
        if (nAt == std::string::npos)
            return std::string(R"({"pred_sentences":[{"detail":[]}]})");
        return R"({"pred_sentences":[{"detail":[{"org":"鸡","revise":"机","start":)" + std::to_string(nAt) +
               R"(,"end":)" + std::to_string(nAt + 3) + "}]}]}";
    });
    const char* sTwice = "我们使用计算鸡和电脑。\n计算鸡和电脑都有。\n";
    EXPECT_EQ(Check(sTwice), "1.5.1:鸡->机@18;1.5.1:鸡->机@6;");
    const char* sThrice = "我们使用计算鸡和电脑。\n计算鸡和电脑都有。\n买了计算鸡和电脑。\n";
    EXPECT_EQ(Check(sThrice), "");
    g_sSpellingHostIP = sHost;
}

}  // namespace
