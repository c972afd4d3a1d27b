// Segmentation throughput: MB/s of tagged and untagged segmentation of a
// text, one line (paragraph) per call, as the rule engine segments, also with
// a few thousand user words, plus the start-up time of loading the
// dictionaries. bench/compare_segmenter.py runs
// it on the text of the corpus documents beside python3-jieba.
//   SegmenterBench --text FILE [--data INITDIR] [benchmark options]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Global/Globals.h"
#include "Segmenter/Segmenter.h"
#include "Utility/FileUtility.h"

namespace {

std::string g_sInitDir;
std::vector<std::string> g_vecLines;
size_t g_nBytes = 0;

void SegmentAll(benchmark::State& state, int bTagged)
{
    size_t nOut = 0;
    for (auto _ : state) {
        for (const std::string& sLine : g_vecLines)
            nOut += std::strlen(PELNOR_ParagraphProcess(sLine.c_str(), bTagged));
    }
    benchmark::DoNotOptimize(nOut);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_nBytes));
}

void BM_SegmentTagged(benchmark::State& state)
{
    SegmentAll(state, 1);
}
BENCHMARK(BM_SegmentTagged)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_SegmentPlain(benchmark::State& state)
{
    SegmentAll(state, 0);
}
BENCHMARK(BM_SegmentPlain)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Loading the core dictionary, the English words and the user words.
void BM_StartUp(benchmark::State& state)
{
    for (auto _ : state) {
        PELNOR_Exit();
        if (PELNOR_Init(g_sInitDir.c_str(), 1) != 1)
            state.SkipWithError(PELNOR_GetLastErrorMsg());
    }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// As a rule set makes them: a few thousand user words, here pieces of three
// Chinese characters taken from the text.
void BM_SegmentTaggedUserWords(benchmark::State& state)
{
    int nAdded = 0;
    for (const std::string& sLine : g_vecLines) {
        for (size_t nPos = 0; nPos + 9 <= sLine.size() && nAdded < 5000; nPos += 300) {
            while (nPos < sLine.size() && (static_cast<unsigned char>(sLine[nPos]) & 0xF0) != 0xE0)
                ++nPos;
            if (nPos + 9 <= sLine.size())
                nAdded += PELNOR_AddUserWord(sLine.substr(nPos, 9).c_str(), "RUX");
        }
    }
    state.counters["user_words"] = nAdded;
    SegmentAll(state, 1);
}
BENCHMARK(BM_SegmentTaggedUserWords)->Unit(benchmark::kMillisecond)->MinTime(2.0);

std::string DefaultInitDir(const char* sArgv0)
{
    // The benchmark lives in <build>/bench; the build's data folder is <build>/Data.
    std::string sExe = sArgv0;
    return JoinPath(DirName(sExe), "..");
}

bool LoadLines(const std::string& sFile)
{
    std::string sText;
    if (!ReadWholeFile(sFile, sText))
        return false;
    size_t nPos = 0;
    while (nPos < sText.size()) {
        size_t nEnd = sText.find('\n', nPos);
        if (nEnd == std::string::npos)
            nEnd = sText.size();
        if (nEnd > nPos) {
            g_vecLines.push_back(sText.substr(nPos, nEnd - nPos));
            g_nBytes += nEnd - nPos;
        }
        nPos = nEnd + 1;
    }
    return !g_vecLines.empty();
}

}  // namespace

int main(int argc, char** argv)
{
    std::string sText;
    g_sInitDir = DefaultInitDir(argv[0]);
    std::vector<char*> vecRest = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--text") && i + 1 < argc)
            sText = argv[++i];
        else if (!std::strcmp(argv[i], "--data") && i + 1 < argc)
            g_sInitDir = argv[++i];
        else
            vecRest.push_back(argv[i]);
    }
    if (sText.empty() || !LoadLines(sText)) {
        std::fprintf(stderr, "usage: SegmenterBench --text FILE [--data INITDIR]: no text in '%s'\n", sText.c_str());
        return 2;
    }
    g_bLog = false;
    if (PELNOR_Init(g_sInitDir.c_str(), 1) != 1) {
        std::fprintf(stderr, "SegmenterBench: %s\n", PELNOR_GetLastErrorMsg());
        return 1;
    }
    g_bLog = false;
    std::fprintf(stderr, "text: %zu lines, %.2f MB\n", g_vecLines.size(), g_nBytes / 1e6);
    int nArgs = static_cast<int>(vecRest.size());
    benchmark::Initialize(&nArgs, vecRest.data());
    benchmark::RunSpecifiedBenchmarks();
    PELNOR_Exit();
    return 0;
}
