// Revises every document of the shared corpus: each is copied into a
// temporary folder, checked through the C interface (as "veskar check"
// does), and its result revised plain and tracked. Prints per document how
// many findings named a paragraph that was found, how many texts were
// found, and the time of each revision; with --verify also whether
// python-docx opens both copies and LibreOffice converts the tracked one.
//
// usage: ReviseCorpus [--verify] [CORPUS_DIR]
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "Convert/ExternalProgram.h"
#include "Docx/DocxPackage.h"
#include "Reviser/DocReviser.h"
#include "Utility/FileUtility.h"
#include "Utility/Num2FontSize.h"
#include "veskar.h"

namespace fs = std::filesystem;

namespace {

struct _tTotals {
    size_t nFindings = 0;
    size_t nNamed = 0;
    size_t nFound = 0;
    size_t nTextMissing = 0;
};

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool PythonOpens(const std::string& sDocx)
{
    std::string sError;
    // python-docx parses the parts it knows; every other XML part is parsed too.
    const char* sScript = "import sys, zipfile, docx\nfrom lxml import etree\ndocx.Document(sys.argv[1])\n"
                          "z = zipfile.ZipFile(sys.argv[1])\n"
                          "[etree.fromstring(z.read(n)) for n in z.namelist() if n.endswith(('.xml', '.rels'))]\n";
    return CExternalProgram::Run({"/usr/bin/python3", "-c", sScript, sDocx}, 120, sError) == 0;
}

bool OfficeConverts(const std::string& sDocx, const std::string& sWork)
{
    std::string sError;
    std::string sOut = sWork + "/pdf";
    fs::create_directories(sOut);
    int nResult = CExternalProgram::Run({"soffice", "-env:UserInstallation=file://" + sWork + "/profile",
                                         "--headless", "--convert-to", "pdf", "--outdir", sOut, sDocx},
                                        300, sError);
    std::string sPdf = sOut + "/" + fs::path(sDocx).stem().string() + ".pdf";
    return nResult == 0 && GetFileSize(sPdf) > 0;
}

void ReviseOne(const fs::path& source, const std::string& sWork, CDocReviser& reviser, bool bVerify,
               _tTotals& totals)
{
    std::string sCopy = sWork + "/" + source.parent_path().filename().string() + "_" + source.filename().string();
    fs::copy_file(source, sCopy, fs::copy_options::overwrite_existing);
    const char* sResult = VESKAR_CheckReportF(sCopy.c_str(), "", "", 6, 0, false, 0);
    if (!sResult) {
        std::printf("%-48s check failed: %s\n", source.filename().c_str(), VESKAR_GetLastErrorMsg());
        return;
    }
    std::string sResultFile = sResult;
    auto start = std::chrono::steady_clock::now();
    std::string sPlain = reviser.Revise(sResultFile.c_str());
    double fPlain = Seconds(start);
    _tReviseReport report = reviser.Report();
    start = std::chrono::steady_clock::now();
    std::string sTracked = reviser.ReviseTracked(sResultFile.c_str());
    double fTracked = Seconds(start);
    size_t nNamed = report.nFindings - report.nDocumentLevel;
    size_t nFound = nNamed - report.nParaMissing;
    std::printf("%-48s %5zu findings, %4zu whole-document, paragraphs found %5zu/%-5zu text not found %4zu  "
                "%.3f s / tracked %.3f s (%zu comments)%s%s\n",
                source.filename().c_str(), report.nFindings, report.nDocumentLevel, nFound, nNamed,
                report.nTextMissing, fPlain, fTracked, reviser.Report().nCommented,
                sPlain.empty() ? "  PLAIN FAILED" : "", sTracked.empty() ? "  TRACKED FAILED" : "");
    if (bVerify && !sPlain.empty() && !sTracked.empty())
        std::printf("    python-docx and lxml read plain %s, tracked %s; LibreOffice converts tracked %s\n",
                    PythonOpens(sPlain) ? "yes" : "NO", PythonOpens(sTracked) ? "yes" : "NO",
                    OfficeConverts(sTracked, sWork) ? "yes" : "NO");
    totals.nFindings += report.nFindings;
    totals.nNamed += nNamed;
    totals.nFound += nFound;
    totals.nTextMissing += report.nTextMissing;
}

}  // namespace

int main(int argc, char** argv)
{
    bool bVerify = argc > 1 && !std::strcmp(argv[1], "--verify");
    std::string sCorpus = argc > 1 + bVerify ? argv[1 + bVerify] : VESKAR_BENCH_CORPUS_DIR;
    if (VESKAR_Init(VESKAR_BENCH_INIT_DIR) != 1) {
        std::fprintf(stderr, "cannot start the library: %s\n", VESKAR_GetLastErrorMsg());
        return 1;
    }
    CNum2FontSize sizes;
    sizes.Import((std::string(VESKAR_BENCH_INIT_DIR) + "/Data/Font/FontSize.dat").c_str());
    CDocReviser reviser(nullptr, &sizes);
    char sTemplate[] = "/tmp/veskar-revise-corpus-XXXXXX";
    std::string sWork = mkdtemp(sTemplate);
    std::vector<fs::path> vecFiles;
    for (const auto& entry : fs::recursive_directory_iterator(sCorpus)) {
        if (entry.is_regular_file() && entry.path().extension() == ".docx")
            vecFiles.push_back(entry.path());
    }
    std::sort(vecFiles.begin(), vecFiles.end());
    _tTotals totals;
    for (const fs::path& file : vecFiles)
        ReviseOne(file, sWork, reviser, bVerify, totals);
    std::printf("all: %zu findings; %zu of %zu that name a paragraph found it; %zu texts not found\n",
                totals.nFindings, totals.nFound, totals.nNamed, totals.nTextMissing);
    VESKAR_Exit();
    CDocxPackage::RemoveFolder(sWork);
    return 0;
}
