// A segmenter started on the built data folder for each test (so user words
// never leak between tests), and helpers to read its output.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "Segmenter/Segmenter.h"
#include "support/SwitchGuard.h"
#include "support/TempDir.h"

class SegmenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(PELNOR_Init(VESKAR_TEST_BUILD_DIR, 1), 1) << PELNOR_GetLastErrorMsg();
        m_quiet.emplace(g_bLog, false);  // after the start, which reads the log switch
    }
    void TearDown() override { PELNOR_Exit(); }

    std::optional<CSwitchGuard> m_quiet;

    static std::string Seg(const std::string& sText, bool bTagged = true)
    {
        const char* sTokens = PELNOR_ParagraphProcess(sText.c_str(), bTagged ? 1 : 0);
        return sTokens ? sTokens : "<null>";
    }
};

// The output split into tokens as the rule engine reads it: at single
// spaces, except inside a bracketed group "[a b]/tag".
inline std::vector<std::string> SplitTokens(const std::string& sOut)
{
    std::vector<std::string> vecTokens;
    bool bInGroup = false;
    size_t nStart = 0;
    while (!sOut.empty() && nStart <= sOut.size()) {
        size_t nEnd = sOut.find(' ', nStart);
        if (nEnd == std::string::npos)
            nEnd = sOut.size();
        std::string sPiece = sOut.substr(nStart, nEnd - nStart);
        if (bInGroup)
            vecTokens.back() += " " + sPiece;
        else
            vecTokens.push_back(sPiece);
        if (!bInGroup)
            bInGroup = sPiece.size() > 1 && sPiece[0] == '[' && sPiece[1] != '/' && sPiece.find(']') == std::string::npos;
        else
            bInGroup = sPiece.find(']') == std::string::npos;
        nStart = nEnd + 1;
    }
    return vecTokens;
}

// Whether every expected token occurs in the output, in this order.
inline ::testing::AssertionResult HasTokensInOrder(const std::string& sOut, const std::vector<std::string>& vecExpected)
{
    std::vector<std::string> vecTokens = SplitTokens(sOut);
    size_t nAt = 0;
    for (const std::string& sExpected : vecExpected) {
        while (nAt < vecTokens.size() && vecTokens[nAt] != sExpected)
            ++nAt;
        if (nAt == vecTokens.size())
            return ::testing::AssertionFailure() << "no \"" << sExpected << "\" (in order) in: " << sOut;
        ++nAt;
    }
    return ::testing::AssertionSuccess();
}

// The text without white space, as the untagged output joins back to it.
inline std::string WithoutBlanks(const std::string& sText)
{
    std::string sOut;
    for (char c : sText)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            sOut.push_back(c);
    return sOut;
}
