// The format checker's template store shared by checks: lookups running
// while templates are imported and deleted see whole templates, never a
// store half changed, and keep what they hold after a deletion.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "Checker/DocFormatCheck.h"
#include "Docx/DocFormat.h"
#include "support/TempDataDir.h"

TEST(TemplateStoreConcurrency, LookupsWhileImporting)
{
    CTempDataDir dir;  // a copy of the built data folder, with the six default templates
    CDocFormatCheck checker(dir.Path().c_str());
    ASSERT_EQ(checker.GetTemplateCount(), 6u);
    std::string sSample = std::string(VESKAR_TEST_BUILD_DIR) + "/TemplateSamples/paper.docx";

    int nIndex = -1;
    std::shared_ptr<const CDocFormat> pHeld = checker.FindFormat(7, "", "", "", &nIndex);
    ASSERT_TRUE(pHeld);
    std::atomic<bool> bStop {false};
    std::atomic<int> nBad {0};
    std::vector<std::thread> vecReaders;
    for (int t = 0; t < 3; ++t) {
        vecReaders.emplace_back([&checker, &bStop, &nBad] {
            while (!bStop) {
                // Type 6: its "*" template stays while type 7's is deleted.
                auto pFormat = checker.FindFormat(6, "某大学", "", "");
                if (!pFormat || !pFormat->GetFormat(DocLevel::TITLE1) || pFormat->GetRequired().empty())
                    ++nBad;
            }
        });
    }
    for (int i = 0; i < 4; ++i) {
        std::string sOrg = "单位" + std::to_string(i);
        int nNew = checker.ImportTemplate(sSample.c_str(), 6, sOrg.c_str(), "", "");
        EXPECT_EQ(nNew, 6 + i);
    }
    EXPECT_EQ(checker.DeleteTemplate(nIndex), nIndex);
    bStop = true;
    for (std::thread& reader : vecReaders)
        reader.join();
    EXPECT_EQ(nBad, 0);
    EXPECT_EQ(checker.GetTemplateCount(), 9u);
    // The template taken before the deletion is still whole.
    EXPECT_NE(pHeld->GetFormat(DocLevel::TITLE1), nullptr);
    EXPECT_EQ(checker.FindTemplate(6, "单位2", "", ""), 7);
}
