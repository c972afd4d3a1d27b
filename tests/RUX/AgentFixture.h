// A started rule engine on a private data folder, shared by the agent tests,
// and small helpers that compile a rule source and scan text with it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "support/SwitchGuard.h"
#include "support/TempDataDir.h"
#include "veskar.h"

class AgentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_quiet.emplace(g_bLog, false);
        // The hits these tests count are the rules' own, without the
        // punctuation findings of the paragraphs.
        s_noPunctuation.emplace(g_bPunctionCheck, false);
        s_pData = new CTempDataDir();
        ASSERT_EQ(RUX_Init(s_pData->Path().c_str(), nullptr), 1);
    }
    static void TearDownTestSuite()
    {
        RUX_Exit();
        delete s_pData;
        s_pData = nullptr;
        s_noPunctuation.reset();
        s_quiet.reset();
    }
    // A rule set compiled from <item> records: rule text, action, argument, field.
    static std::string Item(const std::string& sNo, const std::string& sRule, const std::string& sAction = "extract",
                            const std::string& sArgument = "", const std::string& sField = "",
                            const std::string& sKGSet = "")
    {
        return "<item><no>" + sNo + "</no><rule>" + sRule + "</rule><action>" + sAction + "</action><argument>" +
               sArgument + "</argument><field>" + sField + "</field><kgset>" + sKGSet + "</kgset></item>\n";
    }
    void Compile(const std::string& sItems)
    {
        m_pAgent.reset();
        m_pSet = std::make_unique<CRUX>(s_pData->DataFile("").c_str(), 90 + s_nSet++ % 5);
        ASSERT_EQ(m_pSet->ImportRuleFromMem(sItems.c_str(), true), 1);
        m_pAgent = std::make_unique<CRUXAgent>(m_pSet.get());
        m_pAgent->Reset();
    }
    // Hits of one paragraph scanned from an empty result.
    const std::vector<_tRUX_Result>& Scan(const std::string& sText, int nLevel = 0, int nRule = -1)
    {
        m_pAgent->Reset();
        m_pAgent->ScanText(sText.c_str(), 7, nLevel, -1, nRule, 0);
        return m_pAgent->m_vecRUXResult;
    }
    std::string Segment(const std::string& sText) const
    {
        const char* s = VESKAR_Segment(sText.c_str(), true);
        return s ? s : "";
    }

    static inline std::optional<CSwitchGuard> s_quiet;
    static inline std::optional<CSwitchGuard> s_noPunctuation;
    static CTempDataDir* s_pData;
    static int s_nSet;
    std::unique_ptr<CRUX> m_pSet;
    std::unique_ptr<CRUXAgent> m_pAgent;
};
