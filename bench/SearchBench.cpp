// The search service and its client: queries a second through
// orlosearch_query_client against `veskar searchd`'s server (in this
// process, on the shipped catalogue) with one and two client threads, a new
// connection per query as the client makes them; and the QuickLZ decoder's
// MB/s beside zlib's inflate on the same answer text, with both encoders.
//   SearchBench [--db FILE] [benchmark options]     (target: 5,000 name queries/s)
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CatalogueSearch.h"
#include "SearchClient/QuickLZDecoder.h"
#include "SearchClient/QuickLZEncoder.h"
#include "SearchServer.h"
#include "veskar.h"

namespace {

int g_nPort = 0;
std::string g_sAnswerText;  // answer-like text for the codecs

const char* const kTitles[] = {"建筑设计防火规范", "爆炸危险环境电力装置设计规范", "石油化工企业设计防火标准",
                               "石油库设计规范", "危险化学品企业特殊作业安全规范", "危险化学品重大危险源辨识",
                               "生产过程危险和有害因素分类与代码", "危险场所电气防爆安全规范", "建筑灭火器配置设计规范",
                               "建筑物防雷设计规范", "供配电系统设计规范", "低压配电设计规范", "安全标志及其使用导则",
                               "企业职工伤亡事故分类", "高处作业分级", "消防给水及消火栓系统技术规范"};

void Query(benchmark::State& state, const std::string& sPrefix, int nCount)
{
    size_t nTitle = static_cast<size_t>(state.thread_index()) * 5;
    size_t nBytes = 0;
    for (auto _ : state) {
        std::string sQuery = sPrefix + kTitles[nTitle++ % (sizeof(kTitles) / sizeof(kTitles[0]))];
        const char* sAnswer = orlosearch_query_client(sQuery.c_str(), 0, nCount, "127.0.0.1", g_nPort);
        if (!sAnswer || !std::strstr(sAnswer, "<Document>")) {
            state.SkipWithError(sAnswer ? "no document found" : VESKAR_GetLastErrorMsg());
            break;
        }
        nBytes += std::strlen(sAnswer);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["answer_bytes"] = benchmark::Counter(static_cast<double>(nBytes) / state.iterations());
}

void BM_NameQuery(benchmark::State& state)
{
    Query(state, "[field] Safety_Tiaowen [whole] ", 10);
}
BENCHMARK(BM_NameQuery)->Threads(1)->Threads(2)->UseRealTime()->MinTime(3.0);

void BM_ClauseQuery(benchmark::State& state)
{
    size_t nBytes = 0;
    for (auto _ : state) {
        const char* sAnswer = orlosearch_query_client(
            "[field] file_name [and] 建筑设计防火规范 [field] section_no [whole] 5.2.2", 0, -1, "127.0.0.1", g_nPort);
        if (!sAnswer) {
            state.SkipWithError(VESKAR_GetLastErrorMsg());
            break;
        }
        nBytes += std::strlen(sAnswer);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()));
    state.counters["answer_bytes"] = benchmark::Counter(static_cast<double>(nBytes) / state.iterations());
}
BENCHMARK(BM_ClauseQuery)->UseRealTime()->MinTime(2.0);

void BM_QuickLZDecode(benchmark::State& state)
{
    std::string sBlock = CQuickLZEncoder().Compress(g_sAnswerText);
    std::string sOut(g_sAnswerText.size(), '\0');
    auto pDecoder = std::make_unique<CQuickLZDecoder>();
    std::string sError;
    for (auto _ : state) {
        if (!pDecoder->Decompress(reinterpret_cast<const uint8_t*>(sBlock.data()), sBlock.size(),
                                  reinterpret_cast<uint8_t*>(sOut.data()), sOut.size(), sError))
            state.SkipWithError(sError.c_str());
        benchmark::DoNotOptimize(sOut.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_sAnswerText.size()));
    state.counters["ratio"] = static_cast<double>(g_sAnswerText.size()) / sBlock.size();
}
BENCHMARK(BM_QuickLZDecode)->MinTime(2.0);

void BM_ZlibInflate(benchmark::State& state)
{
    int nLevel = static_cast<int>(state.range(0));
    std::string sBlock(compressBound(g_sAnswerText.size()), '\0');
    uLongf nBlock = sBlock.size();
    compress2(reinterpret_cast<Bytef*>(sBlock.data()), &nBlock, reinterpret_cast<const Bytef*>(g_sAnswerText.data()),
              g_sAnswerText.size(), nLevel);
    std::string sOut(g_sAnswerText.size(), '\0');
    for (auto _ : state) {
        uLongf nOut = sOut.size();
        if (uncompress(reinterpret_cast<Bytef*>(sOut.data()), &nOut, reinterpret_cast<const Bytef*>(sBlock.data()),
                       nBlock) != Z_OK)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(sOut.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_sAnswerText.size()));
    state.counters["ratio"] = static_cast<double>(g_sAnswerText.size()) / nBlock;
}
BENCHMARK(BM_ZlibInflate)->Arg(1)->Arg(6)->MinTime(2.0);

void BM_QuickLZEncode(benchmark::State& state)
{
    CQuickLZEncoder encoder;
    for (auto _ : state)
        benchmark::DoNotOptimize(encoder.Compress(g_sAnswerText));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_sAnswerText.size()));
}
BENCHMARK(BM_QuickLZEncode)->MinTime(2.0);

void BM_ZlibDeflate(benchmark::State& state)
{
    std::string sBlock(compressBound(g_sAnswerText.size()), '\0');
    for (auto _ : state) {
        uLongf nBlock = sBlock.size();
        compress2(reinterpret_cast<Bytef*>(sBlock.data()), &nBlock,
                  reinterpret_cast<const Bytef*>(g_sAnswerText.data()), g_sAnswerText.size(), 1);
        benchmark::DoNotOptimize(sBlock.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * g_sAnswerText.size()));
}
BENCHMARK(BM_ZlibDeflate)->MinTime(2.0);

// The whole catalogue as one answer, repeated to about 1 MB: the text the
// codecs work on.
std::string AnswerText(const std::string& sDb)
{
    CCatalogueSearch search;
    std::string sError;
    if (!search.Open(sDb, sError))
        return "";
    std::string sAll = search.Answer("[field] Safety_Tiaowenhao [and] -", 0, -1);
    std::string sText;
    while (sText.size() < (1u << 20))
        sText += sAll;
    return sText;
}

}  // namespace

int main(int argc, char** argv)
{
    _tSearchServerOptions options;
    options.sDatabase = std::string(VESKAR_BENCH_INIT_DIR) + "/Data/Standards/Standards.db";
    std::vector<char*> vecRest = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--db") && i + 1 < argc)
            options.sDatabase = argv[++i];
        else
            vecRest.push_back(argv[i]);
    }
    g_sAnswerText = AnswerText(options.sDatabase);
    CSearchServer server(options);
    std::string sError;
    if (g_sAnswerText.empty() || !server.Listen(sError)) {
        std::fprintf(stderr, "SearchBench: no catalogue at %s %s\n", options.sDatabase.c_str(), sError.c_str());
        return 1;
    }
    g_nPort = server.Port();
    std::atomic<bool> bStop{false};
    std::thread serving([&] { server.Run(bStop); });
    std::fprintf(stderr, "server on 127.0.0.1:%d with %d workers; codec text %.2f MB\n", g_nPort, options.nWorkers,
                 g_sAnswerText.size() / 1e6);
    int nArgs = static_cast<int>(vecRest.size());
    benchmark::Initialize(&nArgs, vecRest.data());
    benchmark::RunSpecifiedBenchmarks();
    bStop = true;
    serving.join();
    orlosearch_query_client_exit();
    return 0;
}
