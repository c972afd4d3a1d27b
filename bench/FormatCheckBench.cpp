// The format check on generated documents of growing size: structure
// passes (chapter scan, section order, caption order, figure and table
// position) and the format pass against a template learnt from the
// document. Time per paragraph should stay flat as documents grow; a
// quadratic step shows as a rising per-paragraph figure.
//
// usage: FormatCheckBench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "Checker/CheckResult.h"
#include "Checker/DocFormatCheck.h"
#include "Docx/DocFormat.h"
#include "Docx/DocModel.h"
#include "Docx/DocxParser.h"

namespace {

_tParagraph MakePara(uint32_t& nId, const std::string& sText, const char* sFont, int nSize)
{
    _tParagraph para;
    para.id = nId += 16;
    para.text = sText;
    para.font = sFont;
    para.font_size = nSize;
    para.line_space = 360;
    return para;
}

// nChapters chapters of 5 sections, each with 8 body paragraphs and a
// numbered formula line; every chapter ends with a figure caption line.
CDocModel BuildModel(int nChapters)
{
    CDocModel model;
    uint32_t nId = 0;
    std::vector<int> vecFormulas;
    for (int c = 1; c <= nChapters; ++c) {
        std::string sC = std::to_string(c);
        model.AddParagraph(MakePara(nId, sC + " 第" + sC + "部分的标题", "黑体", 32));
        model.EnterHeading(model.Paragraphs().size() - 1, 1);
        for (int s = 1; s <= 5; ++s) {
            model.AddParagraph(MakePara(nId, sC + "." + std::to_string(s) + " 小节标题", "黑体", 28));
            model.EnterHeading(model.Paragraphs().size() - 1, 2);
            for (int b = 0; b < 8; ++b)
                model.AddParagraph(MakePara(nId, "这是用于测量格式检查耗时的正文段落，内容足够长。", "宋体", 24));
            model.AddParagraph(MakePara(nId, "E = mc2 (" + sC + "-" + std::to_string(s) + ")", "宋体", 24));
            vecFormulas.push_back(static_cast<int>(model.Paragraphs().size() - 1));
        }
        model.AddParagraph(MakePara(nId, "图" + sC + "-1 结构", "宋体", 21));
        model.SetLevel(model.Paragraphs().size() - 1, DocLevel::FIGURE_CAPTION);
    }
    model.SetFormulaIndex(vecFormulas);
    return model;
}

void FormatCheck(benchmark::State& state)
{
    CDocModel model = BuildModel(static_cast<int>(state.range(0)));
    size_t nParagraphs = model.Paragraphs().size();
    CDocFormat format;
    format.Learn(model.Paragraphs());
    const CDocFormatCheck checker("/nonexistent");  // an empty template store
    CDocxParser parser;
    CCheckResult results;
    for (auto _ : state) {
        state.PauseTiming();
        parser.SetModel(model);
        results.Reset();
        state.ResumeTiming();
        checker.Check(parser, results, 3);
        CDocFormatCheck::CheckWithFormat(parser, results, format);
        benchmark::DoNotOptimize(results.Results().size());
    }
    state.counters["paragraphs"] = static_cast<double>(nParagraphs);
    state.counters["sec_per_paragraph"] = benchmark::Counter(
        static_cast<double>(nParagraphs) * static_cast<double>(state.iterations()),
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

}  // namespace

BENCHMARK(FormatCheck)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
