// Matching speed: paragraphs per second for a long corpus document (every
// body paragraph and table cell) against generated rule sets of 100 and of
// 5,000 rules whose words are drawn from the document's own vocabulary.
// The index makes the cost follow the hits, so the large set should run at
// no less than a third of the small one's speed.
//   MatchBench [--doc FILE.docx] [--data INITDIR] [benchmark options]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "Docx/DocxPackage.h"
#include "Docx/DocxParser.h"
#include "Global/Globals.h"
#include "RUX/RUX.h"
#include "RUX/RUXAgent.h"
#include "Segmenter/Segmenter.h"
#include "Utility/FileUtility.h"

namespace {

std::vector<std::string> g_vecParagraphs;
std::vector<std::string> g_vecVocabulary;  // words of two or more characters, by first appearance
std::string g_sWorkDir;

// The document's paragraphs (body, then every cell), read from a copy.
bool LoadDocument(const std::string& sFile)
{
    std::string sData;
    if (!ReadWholeFile(sFile, sData))
        return false;
    std::string sCopy = JoinPath(g_sWorkDir, "doc.docx");
    if (!WriteFileAtomic(sCopy, sData))
        return false;
    CDocxParser parser;
    const char* sResult = parser.ImportDocx(sCopy.c_str(), "", 0, 0);
    if (!sResult || !*sResult)
        return false;
    for (const _tParagraph& para : parser.Model().Paragraphs())
        if (!para.text.empty())
            g_vecParagraphs.push_back(para.text);
    for (const _tTable& table : parser.Model().Tables())
        for (const _tRow& row : table.rows)
            for (const _tCell& cell : row)
                for (const _tParagraph& para : cell)
                    if (!para.text.empty())
                        g_vecParagraphs.push_back(para.text);
    return !g_vecParagraphs.empty();
}

void CollectVocabulary()
{
    std::set<std::string> setSeen;
    for (const std::string& sPara : g_vecParagraphs) {
        const char* sSegmented = PELNOR_ParagraphProcess(sPara.c_str(), 1);
        std::string sText = sSegmented ? sSegmented : "";
        size_t i = 0;
        while (i < sText.size()) {
            size_t nEnd = sText.find(' ', i);
            std::string sToken = sText.substr(i, nEnd == std::string::npos ? std::string::npos : nEnd - i);
            i = nEnd == std::string::npos ? sText.size() : nEnd + 1;
            size_t nSlash = sToken.rfind('/');
            std::string sWord = nSlash == std::string::npos ? sToken : sToken.substr(0, nSlash);
            // Two Chinese characters or more, no markup characters.
            if (sWord.size() >= 6 && static_cast<unsigned char>(sWord[0]) >= 0xE0 &&
                sWord.find_first_of("[]{}()^;<>") == std::string::npos && setSeen.insert(sWord).second)
                g_vecVocabulary.push_back(sWord);
        }
    }
}

// Rules of the shapes analysts write: a word, two adjacent words, a word
// and alternatives a few tokens on, a word with a number or nouns after it.
std::string GenerateRules(int nCount)
{
    std::mt19937 rng(static_cast<unsigned>(nCount) * 7919u + 17u);
    auto word = [&rng]() { return g_vecVocabulary[rng() % g_vecVocabulary.size()]; };
    std::string sText;
    std::set<std::string> setPatterns;  // a repeated pattern would be refused as a duplicate
    for (int r = 0; static_cast<int>(setPatterns.size()) < nCount; ++r) {
        std::string sRule;
        switch (r % 5) {
        case 0: sRule = "{[" + word() + "]}s"; break;
        case 1: sRule = "{[" + word() + "][" + word() + "]}s"; break;
        case 2: sRule = "{[" + word() + "]}+3+{[" + word() + ";" + word() + "]}s"; break;
        case 3: sRule = "{[" + word() + "]}{[/m][/q]0}s"; break;
        default: sRule = "{[" + word() + "]}{[/n;/vn]2}s"; break;
        }
        if (!setPatterns.insert(sRule).second)
            continue;
        sText += "<item><no>" + std::to_string(r) + "</no><rule>" + sRule + "</rule><action>extract</action>" +
                 "<argument>key" + std::to_string(r % 50) + "</argument></item>\n";
    }
    return sText;
}

std::map<int, std::unique_ptr<CRUX>> g_mapSets;

CRUX* RuleSet(int nCount)
{
    std::unique_ptr<CRUX>& pSet = g_mapSets[nCount];
    if (!pSet) {
        pSet = std::make_unique<CRUX>(g_sWorkDir.c_str(), nCount);
        if (pSet->ImportRuleFromMem(GenerateRules(nCount).c_str(), true) != 1)
            return nullptr;
    }
    return pSet.get();
}

void BM_ScanDocument(benchmark::State& state)
{
    CRUX* pSet = RuleSet(static_cast<int>(state.range(0)));
    if (!pSet) {
        state.SkipWithError("rule set not compiled");
        return;
    }
    CRUXAgent agent(pSet);
    size_t nHits = 0;
    for (auto _ : state) {
        agent.Reset();
        for (size_t i = 0; i < g_vecParagraphs.size(); ++i)
            agent.ScanText(g_vecParagraphs[i].c_str(), static_cast<uint32_t>(i), 0);
        nHits = agent.m_vecRUXResult.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * g_vecParagraphs.size()));
    state.counters["rules"] = static_cast<double>(pSet->GetRuleCount());
    state.counters["hits"] = static_cast<double>(nHits);
}
BENCHMARK(BM_ScanDocument)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

int main(int argc, char** argv)
{
    std::string sDoc = std::string(VESKAR_BENCH_CORPUS_DIR) + "/szu-laiweijian/朱方平-毕设论文-20170517.docx";
    std::string sInitDir = JoinPath(DirName(std::string(argv[0])), "..");
    std::vector<char*> vecRest = {argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--doc") && i + 1 < argc)
            sDoc = argv[++i];
        else if (!std::strcmp(argv[i], "--data") && i + 1 < argc)
            sInitDir = argv[++i];
        else
            vecRest.push_back(argv[i]);
    }
    g_bLog = false;
    char sTemp[] = "/tmp/match_benchXXXXXX";
    if (!mkdtemp(sTemp)) {
        std::fprintf(stderr, "MatchBench: no temporary folder\n");
        return 1;
    }
    g_sWorkDir = sTemp;
    g_sDefaultDir = g_sWorkDir;
    if (PELNOR_Init(sInitDir.c_str(), 1) != 1) {
        std::fprintf(stderr, "MatchBench: %s\n", PELNOR_GetLastErrorMsg());
        return 1;
    }
    if (!LoadDocument(sDoc)) {
        std::fprintf(stderr, "MatchBench: cannot read the paragraphs of %s\n", sDoc.c_str());
        return 1;
    }
    CollectVocabulary();
    std::fprintf(stderr, "document: %zu paragraphs, %zu distinct words\n", g_vecParagraphs.size(),
                 g_vecVocabulary.size());
    int nArgs = static_cast<int>(vecRest.size());
    benchmark::Initialize(&nArgs, vecRest.data());
    benchmark::RunSpecifiedBenchmarks();
    g_mapSets.clear();
    PELNOR_Exit();
    CDocxPackage::RemoveFolder(g_sWorkDir);
    return 0;
}
