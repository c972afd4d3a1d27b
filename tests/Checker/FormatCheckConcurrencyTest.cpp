// Batch workers check documents at once against one shared checker and one
// shared template: each check must find what it finds alone. Run under
// ThreadSanitizer with the concurrency label.
#include <gtest/gtest.h>

#include <thread>

#include "Checker/DocFormatCheck.h"
#include "FormatCheckSample.h"

namespace {

std::vector<std::string> CodesOf(const CCheckResult& results)
{
    std::vector<std::string> vecCodes;
    for (const _tCheckResult& r : results.Results())
        vecCodes.push_back(r.error_id + " " + r.org_str + " " + r.new_str);
    return vecCodes;
}

}  // namespace

TEST(FormatCheckConcurrency, SharedCheckerAndTemplateKeepChecksApart)
{
    CTempDir dir;
    std::unique_ptr<CDocFormat> pFormat = LearnSampleTemplate(dir);
    ASSERT_TRUE(pFormat);
    const CDocFormatCheck checker(dir.Path().c_str());
    std::vector<_tSampleSeed> vecSeeds(4);
    vecSeeds[0].bSkipSection = true;
    vecSeeds[1].bSongTitle = true;
    vecSeeds[2].bNoAcknowledge = true;
    vecSeeds[3].bMissingFigure = true;

    auto checkOne = [&](size_t k, int nRound) {
        CDocxParser parser;
        CCheckResult results;
        bool bParsed = ParseSample(parser, dir, "doc" + std::to_string(k) + "_" + std::to_string(nRound) + ".docx",
                                   vecSeeds[k]);
        checker.Check(parser, results, 3);
        CDocFormatCheck::CheckWithFormat(parser, results, *pFormat);
        return bParsed ? CodesOf(results) : std::vector<std::string>({"parse failed"});
    };
    std::vector<std::vector<std::string>> vecAlone;
    for (size_t k = 0; k < vecSeeds.size(); ++k) {
        vecAlone.push_back(checkOne(k, 0));
        ASSERT_EQ(vecAlone.back().size(), 1u);
    }
    std::vector<std::vector<std::string>> vecTogether(vecSeeds.size() * 2);
    std::vector<std::thread> vecThreads;
    for (size_t t = 0; t < vecTogether.size(); ++t)
        vecThreads.emplace_back([&, t] { vecTogether[t] = checkOne(t % vecSeeds.size(), 1 + static_cast<int>(t)); });
    for (std::thread& thread : vecThreads)
        thread.join();
    for (size_t t = 0; t < vecTogether.size(); ++t)
        EXPECT_EQ(vecTogether[t], vecAlone[t % vecSeeds.size()]) << "thread " << t;
}
