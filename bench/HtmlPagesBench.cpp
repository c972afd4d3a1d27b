// HTML pages of large documents: the export written from the model, read
// back, labelled and cut into pages (ReuildHtml), and the page files
// written (OutputHtmlPages), on generated theses of 50 and 300 pages with
// tables, and on the corpus's longest thesis when the corpus is there.
// Target: the pages of a 50-page thesis in under 0.3 s.
//
// usage: HtmlPagesBench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <zip.h>

#include <filesystem>
#include <memory>
#include <string>

#include "Docx/DocxParser.h"
#include "Global/Globals.h"

namespace {

namespace fs = std::filesystem;

const char kNamespaces[] =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

std::string Run(const std::string& sText, const char* sFont)
{
    return std::string("<w:r><w:rPr><w:rFonts w:ascii=\"Times New Roman\" w:eastAsia=\"") + sFont +
           "\"/><w:sz w:val=\"24\"/></w:rPr><w:t>" + sText + "</w:t></w:r>";
}

std::string Para(const std::string& sText, const std::string& sPPr = "")
{
    return "<w:p><w:pPr>" + sPPr + "<w:spacing w:line=\"360\" w:lineRule=\"auto\"/><w:ind w:firstLineChars=\"200\"/>"
           "</w:pPr>" + Run(sText, "宋体") + Run("（参见文献[12]）", "宋体") + "</w:p>";
}

std::string Table(int nRows)
{
    std::string sXml = "<w:tbl><w:tblPr><w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr>";
    for (int r = 0; r < nRows; ++r) {
        sXml += "<w:tr>";
        for (int c = 0; c < 4; ++c)
            sXml += "<w:tc><w:tcPr><w:tcW w:w=\"2000\" w:type=\"dxa\"/></w:tcPr><w:p>" +
                    Run("数据" + std::to_string(r * 4 + c), "宋体") + "</w:p></w:tc>";
        sXml += "</w:tr>";
    }
    return sXml + "</w:tbl>";
}

// About a printed page of a Chinese thesis: ten paragraphs of some eighty
// characters; a captioned table every fifth page, a chapter every tenth, a
// section every twentieth.
std::string ThesisBody(int nPages)
{
    const std::string kSentence = "本文研究了驾驶员在十字路口的视觉搜索模式与意图预测方法，";
    std::string sBody;
    for (int p = 0; p < nPages; ++p) {
        if (p % 10 == 0)
            sBody += "<w:p><w:pPr><w:pStyle w:val=\"1\"/><w:jc w:val=\"center\"/></w:pPr>" +
                     Run("第" + std::to_string(p / 10 + 1) + "章 研究内容", "黑体") + "</w:p>";
        for (int i = 0; i < 10; ++i)
            sBody += Para(kSentence + kSentence + "第" + std::to_string(p) + "页第" + std::to_string(i) + "段。");
        if (p % 5 == 4)
            sBody += Para("表" + std::to_string(p) + " 实验数据", "<w:jc w:val=\"center\"/>") + Table(12);
        if (p % 20 == 19)
            sBody += Para("本节完。", "<w:sectPr/>");
    }
    return sBody;
}

bool AddItem(zipFile zip, const std::string& sName, const std::string& sData)
{
    zip_fileinfo info {};
    if (zipOpenNewFileInZip(zip, sName.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 1) != ZIP_OK)
        return false;
    bool bOk = zipWriteInFileInZip(zip, sData.data(), static_cast<unsigned>(sData.size())) == ZIP_OK;
    return zipCloseFileInZip(zip) == ZIP_OK && bOk;
}

bool WriteThesis(const std::string& sPath, int nPages)
{
    zipFile zip = zipOpen(sPath.c_str(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    std::string sDocument = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document ") + kNamespaces +
                            "><w:body>" + ThesisBody(nPages) + "<w:sectPr/></w:body></w:document>";
    std::string sStyles = std::string("<?xml version=\"1.0\"?><w:styles ") + kNamespaces +
                          "><w:style w:type=\"paragraph\" w:styleId=\"1\"><w:name w:val=\"heading 1\"/>"
                          "<w:rPr><w:b/><w:sz w:val=\"32\"/></w:rPr></w:style></w:styles>";
    bool bOk = AddItem(zip, "[Content_Types].xml", "<?xml version=\"1.0\"?><Types/>") &&
               AddItem(zip, "word/document.xml", sDocument) && AddItem(zip, "word/styles.xml", sStyles);
    return zipClose(zip, nullptr) == ZIP_OK && bOk;
}

// A parsed document in a folder of its own, removed at the end.
struct _tParsed {
    fs::path folder;
    std::unique_ptr<CDocxParser> pParser = std::make_unique<CDocxParser>();
    ~_tParsed()
    {
        std::error_code error;
        fs::remove_all(folder, error);
    }
};

std::unique_ptr<_tParsed> Parse(const std::string& sSource, int nPages)
{
    auto pParsed = std::make_unique<_tParsed>();
    pParsed->folder = fs::temp_directory_path() / ("HtmlPagesBench_" + std::to_string(nPages));
    fs::create_directories(pParsed->folder);
    std::string sDocx = (pParsed->folder / "thesis.docx").string();
    if (sSource.empty() ? !WriteThesis(sDocx, nPages) : !fs::copy_file(sSource, sDocx))
        return nullptr;
    if (pParsed->pParser->ImportFile(sDocx.c_str(), "", 7, 0) != 1)
        return nullptr;
    return pParsed;
}

void Report(benchmark::State& state, const CDocxParser& parser)
{
    state.counters["pages"] = static_cast<double>(parser.m_vecHtmlText.size());
    state.counters["paragraphs"] = static_cast<double>(parser.Model().Paragraphs().size());
    state.counters["html_MB"] = static_cast<double>(parser.m_sHtmlText.size()) / 1e6;
}

void RunRebuild(benchmark::State& state, const std::string& sSource)
{
    g_bLog = false;
    auto pParsed = Parse(sSource, static_cast<int>(state.range(0)));
    if (!pParsed) {
        state.SkipWithError("the document could not be written or parsed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(pParsed->pParser->ReuildHtml(""));
    Report(state, *pParsed->pParser);
}

void RunOutput(benchmark::State& state, const std::string& sSource)
{
    g_bLog = false;
    auto pParsed = Parse(sSource, static_cast<int>(state.range(0)));
    if (!pParsed) {
        state.SkipWithError("the document could not be written or parsed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(pParsed->pParser->OutputHtmlPages());
    Report(state, *pParsed->pParser);
}

// Export, labels and pages of a generated thesis of range(0) pages.
void ExportAndPaging(benchmark::State& state)
{
    RunRebuild(state, std::string());
}
BENCHMARK(ExportAndPaging)->Arg(50)->Arg(300)->Unit(benchmark::kMillisecond);

void WritePageFiles(benchmark::State& state)
{
    RunOutput(state, std::string());
}
BENCHMARK(WritePageFiles)->Arg(50)->Arg(300)->Unit(benchmark::kMillisecond);

// The corpus's thesis with 37 tables and 7964 paragraph elements.
void CorpusThesis(benchmark::State& state)
{
    std::string sFile = std::string(VESKAR_BENCH_CORPUS_DIR) + "/szu-laiweijian/朱方平-毕设论文-20170517.docx";
    if (!fs::exists(sFile)) {
        state.SkipWithError("the corpus is not there");
        return;
    }
    RunRebuild(state, sFile);
}
BENCHMARK(CorpusThesis)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
