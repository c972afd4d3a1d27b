// Rule store: compile and save time of a generated set of 10,000 rules
// (parse, dictionaries, index with skip lists, compiled file, companions and
// export), and the time to load it back.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "Utility/FileUtility.h"

namespace {

const int kRuleCount = 10000;

std::string MakeWord(std::mt19937& rng)
{
    static const char* const kChars[] = {"工", "程", "检", "测", "报", "告", "单", "位", "公", "司", "设", "计",
                                         "施", "建", "筑", "结", "构", "混", "凝", "土", "强", "度", "基", "桩"};
    std::string sWord;
    int nLen = 2 + static_cast<int>(rng() % 3);
    for (int i = 0; i < nLen; ++i)
        sWord += kChars[rng() % 24];
    return sWord;
}

// 10,000 distinct rules over 3,000 words and a few tags; one in five holds
// a common tag, so some slots carry thousands of postings.
std::string GenerateRules()
{
    std::mt19937 rng(20240601);
    std::vector<std::string> vecWords;
    for (int i = 0; i < 3000; ++i)
        vecWords.push_back(MakeWord(rng) + std::to_string(i % 97));
    const char* const kTags[] = {"/m", "/t", "/nt", "/n", "/x"};
    const char* const kActions[] = {"insert", "update", "delete", "extract", "convert", "tableextract",
                                    "between_extract", "unit_extract", "format_extract", "MarkRisk"};
    std::string sText;
    for (int r = 0; r < kRuleCount; ++r) {
        std::string sRule;
        int nGrids = 1 + static_cast<int>(rng() % 3);
        for (int g = 0; g < nGrids; ++g) {
            sRule += g ? "+" : "";
            sRule += "{";
            int nBlocks = 1 + static_cast<int>(rng() % 3);
            for (int b = 0; b < nBlocks; ++b) {
                sRule += b ? "+[" : "[";
                int nElems = 1 + static_cast<int>(rng() % 3);
                for (int e = 0; e < nElems; ++e) {
                    sRule += e ? ";" : "";
                    sRule += rng() % 5 == 0 ? kTags[rng() % 5] : vecWords[rng() % vecWords.size()];
                }
                sRule += "]";
            }
            sRule += rng() % 2 ? "}s" : "}";
        }
        sText += "<item><no>" + std::to_string(r) + "</no><name>rule " + std::to_string(r) + "</name><rule>" + sRule +
                 "{[#" + std::to_string(r) + "]}</rule><action>" + kActions[r % 10] +
                 "</action><argument>key" + std::to_string(r % 200) + "|键:{元};5</argument></item>\n";
    }
    return sText;
}

struct BenchSetup {
    std::string sDir;
    std::string sRules;
    BenchSetup()
    {
        g_bLog = false;
        char sTemplate[] = "/tmp/rule_store_bench_XXXXXX";
        const char* s = mkdtemp(sTemplate);
        sDir = s ? s : "/tmp";
        sRules = GenerateRules();
    }
};

BenchSetup& Setup()
{
    static BenchSetup setup;
    return setup;
}

void BM_CompileAndSave(benchmark::State& state)
{
    BenchSetup& setup = Setup();
    for (auto _ : state) {
        CRUX set(setup.sDir.c_str(), 1);
        if (set.ImportRuleFromMem(setup.sRules.c_str(), true) != 1 || set.GetRuleCount() != kRuleCount)
            state.SkipWithError("import failed");
    }
    state.counters["rules"] = kRuleCount;
    state.counters["file_MB"] = static_cast<double>(GetFileSize(setup.sDir + "/RUX_1.rule")) / 1e6;
}

void BM_Load(benchmark::State& state)
{
    BenchSetup& setup = Setup();
    {
        CRUX set(setup.sDir.c_str(), 2);
        set.ImportRuleFromMem(setup.sRules.c_str(), true);
    }
    for (auto _ : state) {
        CRUX set(setup.sDir.c_str(), 2);
        if (set.Load() != 1)
            state.SkipWithError("load failed");
    }
    state.counters["rules"] = kRuleCount;
}

}  // namespace

BENCHMARK(BM_CompileAndSave)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_MAIN();
