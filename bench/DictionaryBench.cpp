// The double-array dictionary against darts, libdatrie and marisa on the
// same words and text: build time, exact lookups per second and
// longest-prefix scanning in MB/s, with the ratios printed at the end.
// Chinese: the ~350,000 words of python3-jieba's list, in GBK, scanned over
// the text of the corpus documents; English: the wamerican word list.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <datrie/trie.h>
#include <filesystem>
#include <map>
#include <marisa.h>
#include <random>
#include <string>
#include <unzip.h>
#include <vector>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wregister"
#pragma GCC diagnostic ignored "-Wpedantic"
#include <darts.h>
#pragma GCC diagnostic pop

#include "Global/Globals.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/PDAT.h"

namespace {

// ---- data ----

struct _tBenchData {
    std::string sName;
    std::vector<std::string> vecWords;   // list order, as the dictionary is built
    std::vector<std::string> vecSorted;  // sorted and unique, as darts needs them
    std::vector<std::string> vecQueries; // four in five hits, the rest text pieces
    std::string sText;                   // text to scan
};

// First column of a word list, converted to GBK (words GBK cannot hold are left out).
std::vector<std::string> ReadWordColumn(const std::string& sPath)
{
    std::string sData;
    std::vector<std::string> vecWords;
    if (!ReadWholeFile(sPath, sData))
        return vecWords;
    size_t nPos = 0;
    while (nPos < sData.size()) {
        size_t nEnd = sData.find('\n', nPos);
        if (nEnd == std::string::npos)
            nEnd = sData.size();
        std::string sLine = sData.substr(nPos, nEnd - nPos);
        nPos = nEnd + 1;
        std::string sWord = sLine.substr(0, sLine.find_first_of(" \t\r"));
        std::string sGbk;
        if (!sWord.empty() && Utf8ToGbk(sWord, sGbk) && !sGbk.empty())
            vecWords.push_back(sGbk);
    }
    return vecWords;
}

// The visible text of a .docx (the w:t runs of word/document.xml), one line
// per paragraph.
std::string ReadDocxText(const std::string& sPath)
{
    std::string sXml;
    unzFile zip = unzOpen64(sPath.c_str());
    if (!zip)
        return "";
    if (unzLocateFile(zip, "word/document.xml", 0) == UNZ_OK && unzOpenCurrentFile(zip) == UNZ_OK) {
        char sBuf[65536];
        int nRead = 0;
        while ((nRead = unzReadCurrentFile(zip, sBuf, sizeof sBuf)) > 0)
            sXml.append(sBuf, static_cast<size_t>(nRead));
        unzCloseCurrentFile(zip);
    }
    unzClose(zip);
    std::string sText;
    for (size_t nPos = 0; (nPos = sXml.find("<w:", nPos)) != std::string::npos; ++nPos) {
        if (sXml.compare(nPos, 5, "<w:t>") == 0 || sXml.compare(nPos, 5, "<w:t ") == 0) {
            size_t nOpen = sXml.find('>', nPos);
            size_t nClose = sXml.find("</w:t>", nOpen);
            if (nOpen == std::string::npos || nClose == std::string::npos)
                break;
            sText += sXml.substr(nOpen + 1, nClose - nOpen - 1);
        } else if (sXml.compare(nPos, 4, "<w:p") == 0 && (sXml[nPos + 4] == '>' || sXml[nPos + 4] == ' ')) {
            sText += '\n';
        }
    }
    std::string sGbk;
    Utf8ToGbk(sText, sGbk);
    return sGbk;
}

std::string CorpusText()
{
    std::string sText;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(VESKAR_BENCH_CORPUS_DIR, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
        if (it->path().extension() == ".docx")
            sText += ReadDocxText(it->path().string());
    return sText;
}

int UnitLength(const std::string& sText, size_t nPos)
{
    return (static_cast<unsigned char>(sText[nPos]) & 0x80) && nPos + 1 < sText.size() ? 2 : 1;
}

void MakeQueries(_tBenchData& data)
{
    std::mt19937 rng(2024);
    std::vector<std::string> vecHits = data.vecSorted;
    std::shuffle(vecHits.begin(), vecHits.end(), rng);
    size_t nHits = std::min<size_t>(vecHits.size(), 240000);
    data.vecQueries.assign(vecHits.begin(), vecHits.begin() + static_cast<long>(nHits));
    for (size_t i = 0; i < nHits / 4; ++i) {
        if (data.sText.size() < 64) {  // no text: a word with a tail no list has
            data.vecQueries.push_back(vecHits[rng() % vecHits.size()] + "#q");
            continue;
        }
        size_t nPos = rng() % (data.sText.size() - 8);
        if (nPos > 0 && (static_cast<unsigned char>(data.sText[nPos - 1]) & 0x80))
            ++nPos;
        data.vecQueries.push_back(data.sText.substr(nPos, 4 + rng() % 4));
    }
    std::shuffle(data.vecQueries.begin(), data.vecQueries.end(), rng);
}

_tBenchData LoadData(const std::string& sName, const std::string& sWordFile, bool bWithText)
{
    _tBenchData data;
    data.sName = sName;
    data.vecWords = ReadWordColumn(sWordFile);
    data.vecSorted = data.vecWords;
    std::sort(data.vecSorted.begin(), data.vecSorted.end());
    data.vecSorted.erase(std::unique(data.vecSorted.begin(), data.vecSorted.end()), data.vecSorted.end());
    if (bWithText)
        data.sText = CorpusText();
    if (!data.vecSorted.empty())
        MakeQueries(data);
    return data;
}

const _tBenchData& Data(int nSet)
{
    static const _tBenchData chinese = LoadData("zh", VESKAR_BENCH_JIEBA_DICT, true);
    static const _tBenchData english = LoadData("en", VESKAR_BENCH_ENGLISH_WORDS, false);
    return nSet == 0 ? chinese : english;
}

// ---- the four dictionaries ----

std::unique_ptr<CPDAT> BuildOurs(const _tBenchData& data)
{
    auto pDict = std::make_unique<CPDAT>(PDAT_MODE_GBK);
    pDict->AddWordInit();
    for (const std::string& sWord : data.vecWords)
        pDict->AddWord(sWord.c_str());
    pDict->AddWordComplete();
    return pDict;
}

std::unique_ptr<Darts::DoubleArray> BuildDarts(const _tBenchData& data)
{
    std::vector<const char*> vecKeys;
    std::vector<size_t> vecLengths;
    for (const std::string& sWord : data.vecSorted) {
        vecKeys.push_back(sWord.c_str());
        vecLengths.push_back(sWord.size());
    }
    auto pDarts = std::make_unique<Darts::DoubleArray>();
    pDarts->build(vecKeys.size(), vecKeys.data(), vecLengths.data(), nullptr);
    return pDarts;
}

std::vector<AlphaChar> ToAlpha(const std::string& sWord)
{
    std::vector<AlphaChar> vecKey(sWord.begin(), sWord.end());
    for (size_t i = 0; i < sWord.size(); ++i)
        vecKey[i] = static_cast<unsigned char>(sWord[i]);
    vecKey.push_back(0);
    return vecKey;
}

struct TrieDeleter {
    void operator()(Trie* pTrie) const { trie_free(pTrie); }
};
using TriePtr = std::unique_ptr<Trie, TrieDeleter>;

TriePtr BuildDatrie(const _tBenchData& data)
{
    AlphaMap* pMap = alpha_map_new();
    alpha_map_add_range(pMap, 1, 255);
    TriePtr pTrie(trie_new(pMap));
    alpha_map_free(pMap);
    TrieData nId = 0;
    for (const std::string& sWord : data.vecWords)
        trie_store_if_absent(pTrie.get(), ToAlpha(sWord).data(), nId++);
    return pTrie;
}

std::unique_ptr<marisa::Trie> BuildMarisa(const _tBenchData& data)
{
    marisa::Keyset keyset;
    for (const std::string& sWord : data.vecWords)
        keyset.push_back(sWord.data(), sWord.size());
    auto pTrie = std::make_unique<marisa::Trie>();
    pTrie->build(keyset);
    return pTrie;
}

// Built once per data set for the lookup and scan runs.
struct _tBuilt {
    std::unique_ptr<CPDAT> pOurs;
    std::unique_ptr<Darts::DoubleArray> pDarts;
    TriePtr pDatrie;
    std::unique_ptr<marisa::Trie> pMarisa;
    std::vector<std::vector<AlphaChar>> vecAlphaQueries;
};

_tBuilt& Built(int nSet)
{
    static std::map<int, _tBuilt> s_mapBuilt;
    _tBuilt& built = s_mapBuilt[nSet];
    if (!built.pOurs) {
        const _tBenchData& data = Data(nSet);
        built.pOurs = BuildOurs(data);
        built.pDarts = BuildDarts(data);
        built.pDatrie = BuildDatrie(data);
        built.pMarisa = BuildMarisa(data);
        for (const std::string& sQuery : data.vecQueries)
            built.vecAlphaQueries.push_back(ToAlpha(sQuery));
    }
    return built;
}

// ---- benchmarks ----

void SetLabel(benchmark::State& state, int nSet)
{
    const _tBenchData& data = Data(nSet);
    state.SetLabel(data.sName + ", " + std::to_string(data.vecWords.size()) + " words");
}

void BM_Build_Ours(benchmark::State& state)
{
    const _tBenchData& data = Data(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildOurs(data));
    SetLabel(state, static_cast<int>(state.range(0)));
}

void BM_Build_Darts(benchmark::State& state)
{
    const _tBenchData& data = Data(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildDarts(data));
    SetLabel(state, static_cast<int>(state.range(0)));
}

void BM_Build_Datrie(benchmark::State& state)
{
    const _tBenchData& data = Data(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildDatrie(data));
    SetLabel(state, static_cast<int>(state.range(0)));
}

void BM_Build_Marisa(benchmark::State& state)
{
    const _tBenchData& data = Data(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildMarisa(data));
    SetLabel(state, static_cast<int>(state.range(0)));
}

// Each lookup run counts its hits, so a peer that finds other words shows.
template <typename Lookup>
void RunLookups(benchmark::State& state, Lookup lookup)
{
    int nSet = static_cast<int>(state.range(0));
    const _tBenchData& data = Data(nSet);
    Built(nSet);
    size_t nHits = 0;
    for (auto _ : state) {
        nHits = 0;
        for (size_t i = 0; i < data.vecQueries.size(); ++i)
            nHits += lookup(i);
        benchmark::DoNotOptimize(nHits);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * data.vecQueries.size()));
    state.counters["hits"] = static_cast<double>(nHits);
    SetLabel(state, nSet);
}

void BM_Find_Ours(benchmark::State& state)
{
    const _tBenchData& data = Data(static_cast<int>(state.range(0)));
    const CPDAT& dict = *Built(static_cast<int>(state.range(0))).pOurs;
    RunLookups(state, [&](size_t i) {
        const std::string& q = data.vecQueries[i];
        return dict.Find(q.data(), static_cast<unsigned>(q.size())) >= 0;
    });
}

void BM_Find_Darts(benchmark::State& state)
{
    const _tBenchData& data = Data(static_cast<int>(state.range(0)));
    const Darts::DoubleArray& darts = *Built(static_cast<int>(state.range(0))).pDarts;
    RunLookups(state, [&](size_t i) {
        const std::string& q = data.vecQueries[i];
        return darts.exactMatchSearch<Darts::DoubleArray::value_type>(q.data(), q.size()) >= 0;
    });
}

void BM_Find_Datrie(benchmark::State& state)
{
    _tBuilt& built = Built(static_cast<int>(state.range(0)));
    RunLookups(state, [&](size_t i) {
        TrieData nData = 0;
        return trie_retrieve(built.pDatrie.get(), built.vecAlphaQueries[i].data(), &nData) == TRUE;
    });
}

void BM_Find_Marisa(benchmark::State& state)
{
    const _tBenchData& data = Data(static_cast<int>(state.range(0)));
    const marisa::Trie& trie = *Built(static_cast<int>(state.range(0))).pMarisa;
    marisa::Agent agent;
    RunLookups(state, [&](size_t i) {
        agent.set_query(data.vecQueries[i].data(), data.vecQueries[i].size());
        return trie.lookup(agent);
    });
}

// Longest-prefix scanning: at each position the longest word; the scan
// moves past it, or one character on when none starts there. Every
// dictionary sees at most kMaxQuery bytes from a position (no word is longer).
const size_t kMaxQuery = 64;
template <typename Longest>
void RunScan(benchmark::State& state, Longest longest)
{
    int nSet = static_cast<int>(state.range(0));
    const std::string& sText = Data(nSet).sText;
    Built(nSet);
    size_t nWords = 0;
    for (auto _ : state) {
        nWords = 0;
        for (size_t nPos = 0; nPos < sText.size();) {
            size_t nLen = longest(nPos);
            nWords += nLen > 0;
            nPos += nLen > 0 ? nLen : static_cast<size_t>(UnitLength(sText, nPos));
        }
        benchmark::DoNotOptimize(nWords);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sText.size()));
    state.counters["words"] = static_cast<double>(nWords);
    state.SetLabel(std::to_string(sText.size() / 1024) + " KB of corpus text");
}

void BM_Scan_Ours(benchmark::State& state)
{
    const std::string& sText = Data(static_cast<int>(state.range(0))).sText;
    const CPDAT& dict = *Built(static_cast<int>(state.range(0))).pOurs;
    RunScan(state, [&](size_t nPos) {
        int nHandle = -1;
        bool bSpans = false;
        return static_cast<size_t>(
            dict.GetMaxWord(sText.data() + nPos, static_cast<int>(std::min(kMaxQuery, sText.size() - nPos)), 0,
                            nHandle, bSpans));
    });
}

void BM_Scan_Darts(benchmark::State& state)
{
    const std::string& sText = Data(static_cast<int>(state.range(0))).sText;
    const Darts::DoubleArray& darts = *Built(static_cast<int>(state.range(0))).pDarts;
    RunScan(state, [&](size_t nPos) {
        Darts::DoubleArray::result_pair_type results[64];
        size_t nFound = darts.commonPrefixSearch(sText.data() + nPos, results, 64,
                                                  std::min(kMaxQuery, sText.size() - nPos));
        return nFound ? results[std::min<size_t>(nFound, 64) - 1].length : 0;
    });
}

void BM_Scan_Datrie(benchmark::State& state)
{
    const std::string& sText = Data(static_cast<int>(state.range(0))).sText;
    TrieState* pState = trie_root(Built(static_cast<int>(state.range(0))).pDatrie.get());
    RunScan(state, [&](size_t nPos) {
        trie_state_rewind(pState);
        size_t nBest = 0;
        for (size_t i = nPos; i < std::min(sText.size(), nPos + kMaxQuery); ++i) {
            if (!trie_state_walk(pState, static_cast<unsigned char>(sText[i])))
                break;
            if (trie_state_is_terminal(pState))
                nBest = i + 1 - nPos;
        }
        return nBest;
    });
    trie_state_free(pState);
}

void BM_Scan_Marisa(benchmark::State& state)
{
    const std::string& sText = Data(static_cast<int>(state.range(0))).sText;
    const marisa::Trie& trie = *Built(static_cast<int>(state.range(0))).pMarisa;
    marisa::Agent agent;
    RunScan(state, [&](size_t nPos) {
        agent.set_query(sText.data() + nPos, std::min(kMaxQuery, sText.size() - nPos));
        size_t nBest = 0;
        while (trie.common_prefix_search(agent))
            nBest = agent.key().length();
        return nBest;
    });
}

// The dictionary's own segmentation over the same text, for reference.
void BM_MMSegment_Ours(benchmark::State& state)
{
    const std::string& sText = Data(0).sText;
    const CPDAT& dict = *Built(0).pOurs;
    std::vector<int> vecIds;
    std::string sOut;
    for (auto _ : state)
        benchmark::DoNotOptimize(dict.MMSegment(sText.c_str(), vecIds, sOut, false, 0, " "));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * sText.size()));
}

BENCHMARK(BM_Build_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Build_Darts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Build_Datrie)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Build_Marisa)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Find_Ours)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Darts)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Datrie)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Find_Marisa)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan_Ours)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan_Darts)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan_Datrie)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scan_Marisa)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MMSegment_Ours)->Unit(benchmark::kMillisecond);

// ---- the ratios ----

// Keeps what each run measured (seconds per iteration, items or bytes per
// second) while the console shows the usual table.
class CRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& vecRuns) override
    {
        ConsoleReporter::ReportRuns(vecRuns);
        for (const Run& run : vecRuns) {
            if (run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            std::string sName = run.benchmark_name();
            sName = sName.substr(0, sName.find("/iterations:"));
            _tResult& result = m_mapResults[sName];
            result.fSeconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            auto it = run.counters.find("items_per_second");
            result.fRate = it != run.counters.end() ? it->second.value : 0;
            it = run.counters.find("bytes_per_second");
            if (it != run.counters.end())
                result.fRate = it->second.value / 1e6;
        }
    }

    void PrintRatios() const
    {
        std::printf("\nSide by side. (x) = peer / ours: for build seconds above 1 means ours is faster,\n"
                    "for rates above 1 the peer is faster. Last column: how many times the fastest peer\n"
                    "is ahead of ours (below 1: ours is ahead).\n");
        for (const char* sSet : {"0", "1"}) {
            PrintLine("build", sSet, "s", true);
            PrintLine("lookups", sSet, "M/s", false);
            PrintLine("scan", sSet, "MB/s", false);
        }
    }

private:
    struct _tResult {
        double fSeconds = 0;
        double fRate = 0;
    };

    void PrintLine(const std::string& sWhat, const std::string& sSet, const char* sUnit, bool bTime) const
    {
        const char* sKind = sWhat == "build" ? "Build" : sWhat == "lookups" ? "Find" : "Scan";
        auto Value = [&](const std::string& sPeer) {
            auto it = m_mapResults.find(std::string("BM_") + sKind + "_" + sPeer + "/" + sSet);
            if (it == m_mapResults.end())
                return -1.0;
            return bTime ? it->second.fSeconds : it->second.fRate / (sWhat == "lookups" ? 1e6 : 1.0);
        };
        double fOurs = Value("Ours");
        if (fOurs <= 0)
            return;
        std::printf("%-8s %s  ours %8.3f %-4s", sWhat.c_str(), sSet == "0" ? "zh" : "en", fOurs, sUnit);
        double fBestPeer = -1;
        for (const char* sPeer : {"Darts", "Datrie", "Marisa"}) {
            double fPeer = Value(sPeer);
            if (fPeer <= 0)
                continue;
            std::printf(" | %s %8.3f (%.2fx)", sPeer, fPeer, fPeer / fOurs);
            if (fBestPeer < 0 || (bTime ? fPeer < fBestPeer : fPeer > fBestPeer))
                fBestPeer = fPeer;
        }
        if (fBestPeer > 0)
            std::printf(" | fastest peer %.2fx", bTime ? fOurs / fBestPeer : fBestPeer / fOurs);
        std::printf("\n");
    }

    std::map<std::string, _tResult> m_mapResults;
};

}  // namespace

int main(int argc, char** argv)
{
    g_bLog = false;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const _tBenchData& chinese = Data(0);
    std::printf("Chinese: %zu words (%zu distinct), %zu queries, %zu bytes of text; English: %zu words\n",
                chinese.vecWords.size(), chinese.vecSorted.size(), chinese.vecQueries.size(), chinese.sText.size(),
                Data(1).vecWords.size());
    CRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    std::printf("Targets: lookups within 1.5x of the fastest peer; build of the Chinese list under 3 s.\n");
    benchmark::Shutdown();
    return 0;
}
