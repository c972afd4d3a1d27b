// Revision of a large thesis: a generated unpacked package (5000 body
// paragraphs, about 4 MB of document.xml, 3 MB of pictures) and a saved
// result with 500 findings of every field. Measures a whole revision (read
// the result and document.xml, apply every finding, pack the new .docx),
// plain and tracked. Target: under 0.3 s per plain revision.
//
// usage: ReviseBench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "Checker/CheckResult.h"
#include "Docx/DocxPackage.h"
#include "Reviser/DocReviser.h"
#include "Utility/FileUtility.h"
#include "Utility/Num2FontSize.h"

namespace {

const char* const kSentence = "这是用于测量修订耗时的正文段落，其中有一个错误的词语需要改正，内容足够长。";

std::string Paragraph(int i)
{
    return "<w:p w:rsidR=\"00AB12CD\" w:rsidRDefault=\"00AB12CD\"><w:pPr><w:spacing w:line=\"360\" "
           "w:lineRule=\"auto\"/><w:ind w:firstLineChars=\"200\"/></w:pPr><w:r><w:rPr><w:rFonts "
           "w:ascii=\"Times New Roman\" w:eastAsia=\"宋体\"/><w:sz w:val=\"24\"/></w:rPr><w:t>第" +
           std::to_string(i) + "段。" + kSentence + "</w:t></w:r><w:r><w:rPr><w:sz w:val=\"24\"/></w:rPr>"
           "<w:t xml:space=\"preserve\">" + kSentence + kSentence + "</w:t></w:r></w:p>";
}

struct _tBenchDocument {
    std::string sFolder;
    std::string sResult;
};

void AddFinding(CCheckResult& results, uint32_t nId, int nField, const char* sOrg, const std::string& sNew,
                uint32_t nOffset)
{
    _tCheckResult record;
    record.para_id = nId;
    record.offset = nOffset;
    record.field_id = nField;
    record.org_str = sOrg;
    record.new_str = sNew;
    record.error_id = "1.5.2";
    results.AddResult(record);
}

_tBenchDocument Prepare()
{
    char sTemplate[] = "/tmp/veskar-revise-bench-XXXXXX";
    std::string sRoot = mkdtemp(sTemplate);
    std::string sFolder = sRoot + "/thesis_unzip";
    std::string sDoc = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n<w:document "
                       "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>";
    std::vector<uint32_t> vecIds;
    for (int i = 0; i < 5000; ++i) {
        vecIds.push_back(static_cast<uint32_t>(sDoc.size() + 3));
        sDoc += Paragraph(i);
    }
    sDoc += "<w:sectPr/></w:body></w:document>";
    mkdir(sFolder.c_str(), 0777);
    mkdir((sFolder + "/word").c_str(), 0777);
    mkdir((sFolder + "/word/media").c_str(), 0777);
    WriteFileAtomic(sFolder + "/word/document.xml", sDoc);
    WriteFileAtomic(sFolder + "/[Content_Types].xml", "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                                                      "content-types\"/>");
    std::mt19937 random(7);
    for (int i = 1; i <= 3; ++i) {
        std::string sPicture(1 << 20, '\0');
        for (char& c : sPicture)
            c = static_cast<char>(random());
        WriteFileAtomic(sFolder + "/word/media/image" + std::to_string(i) + ".png", sPicture);
    }
    CCheckResult results;
    for (int i = 0; i < 500; ++i) {
        uint32_t nId = vecIds[static_cast<size_t>(i) * 10];
        switch (i % 25) {
        case 0: AddFinding(results, 0xFFFFFFFF, FIELD_CONTENT, "", "缺少的部分" + std::to_string(i), 0); break;
        case 1: AddFinding(results, nId, FIELD_FONT, "宋体", "黑体", 0); break;
        case 2: AddFinding(results, nId, FIELD_FONTSIZE, "24", "28", 0); break;
        case 3: AddFinding(results, nId, FIELD_LINE_SPACE, "18", "20", 0); break;
        default: AddFinding(results, nId, FIELD_TEXT, "错误", "正确", 120); break;
        }
    }
    std::string sResult = sRoot + "/thesis_Check.xml";
    WriteFileAtomic(sResult, std::string("<VESKAR>\n") +
                                 results.GetResult(sFolder.c_str(), "thesis", 7, "", nullptr) + "</VESKAR>\n");
    return {sFolder, sResult};
}

const _tBenchDocument& Document()
{
    static const _tBenchDocument s_document = Prepare();
    return s_document;
}

void RunRevision(benchmark::State& state, bool bTracked)
{
    const _tBenchDocument& document = Document();
    CNum2FontSize sizes;
    CDocReviser reviser(nullptr, &sizes);
    size_t nApplied = 0;
    for (auto _ : state) {
        std::string sPath = bTracked ? reviser.ReviseTracked(document.sResult.c_str())
                                     : reviser.Revise(document.sResult.c_str());
        state.PauseTiming();
        if (sPath.empty())
            state.SkipWithError("revision failed");
        nApplied = reviser.Report().nApplied + reviser.Report().nCommented;
        std::remove(sPath.c_str());
        state.ResumeTiming();
    }
    state.counters["findings"] = static_cast<double>(reviser.Report().nFindings);
    state.counters["applied"] = static_cast<double>(nApplied);
}

void Revise(benchmark::State& state)
{
    RunRevision(state, false);
}

void ReviseTracked(benchmark::State& state)
{
    RunRevision(state, true);
}

}  // namespace

BENCHMARK(Revise)->Unit(benchmark::kMillisecond);
BENCHMARK(ReviseTracked)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    CDocxPackage::RemoveFolder(DirName(Document().sFolder));
    return 0;
}
