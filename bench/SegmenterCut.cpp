// Segments every line of a text with the core dictionary alone (no user
// words), with or without the unknown-word model, writes the words of each
// line separated by single spaces, and prints the best rate of --runs
// passes as JSON. bench/compare_segmenter_f1.py puts this beside jieba.
//   SegmenterCut --text FILE --out FILE [--data INITDIR] [--no-hmm] [--runs N]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Segmenter/CoreDict.h"
#include "Segmenter/HmmModel.h"
#include "Segmenter/SegmentPass.h"
#include "Utility/FileUtility.h"

namespace {

struct _tOptions {
    std::string sText, sOut, sInitDir;
    bool bHmm = true;
    int nRuns = 3;
};

bool ParseOptions(int argc, char** argv, _tOptions& options)
{
    options.sInitDir = JoinPath(DirName(argv[0]), "..");
    for (int i = 1; i < argc; ++i) {
        bool bValue = i + 1 < argc;
        if (!std::strcmp(argv[i], "--text") && bValue)
            options.sText = argv[++i];
        else if (!std::strcmp(argv[i], "--out") && bValue)
            options.sOut = argv[++i];
        else if (!std::strcmp(argv[i], "--data") && bValue)
            options.sInitDir = argv[++i];
        else if (!std::strcmp(argv[i], "--runs") && bValue)
            options.nRuns = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--no-hmm"))
            options.bHmm = false;
        else
            return false;
    }
    return !options.sText.empty() && !options.sOut.empty() && options.nRuns > 0;
}

std::vector<std::string> SplitLines(const std::string& sText)
{
    std::vector<std::string> vecLines;
    size_t nPos = 0;
    while (nPos <= sText.size()) {
        size_t nEnd = sText.find('\n', nPos);
        if (nEnd == std::string::npos)
            nEnd = sText.size();
        vecLines.push_back(sText.substr(nPos, nEnd - nPos));
        nPos = nEnd + 1;
    }
    return vecLines;
}

}  // namespace

int main(int argc, char** argv)
{
    _tOptions options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: SegmenterCut --text FILE --out FILE [--data INITDIR] [--no-hmm] [--runs N]\n");
        return 2;
    }
    std::string sText, sError, sDir = JoinPath(JoinPath(options.sInitDir, "Data"), "Segmenter");
    CCoreDict core;
    CHmmModel hmm;
    if (!ReadWholeFile(options.sText, sText) || !core.Load(sDir, sError) || !hmm.Load(sDir, sError)) {
        std::fprintf(stderr, "SegmenterCut: %s\n", sError.empty() ? "cannot read the text" : sError.c_str());
        return 1;
    }
    std::vector<std::string> vecLines = SplitLines(sText);
    CSegmentPass pass;
    std::vector<_tSegToken> vecTokens;
    double dBest = 0.0;
    size_t nTokens = 0;
    for (int r = 0; r < options.nRuns; ++r) {
        auto start = std::chrono::steady_clock::now();
        for (const std::string& sLine : vecLines) {
            pass.Run(core, nullptr, sLine.data(), sLine.size(), vecTokens, options.bHmm ? &hmm : nullptr);
            nTokens += vecTokens.size();
        }
        double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        dBest = r == 0 || dSeconds < dBest ? dSeconds : dBest;
    }
    std::string sOut;
    for (const std::string& sLine : vecLines) {
        pass.Run(core, nullptr, sLine.data(), sLine.size(), vecTokens, options.bHmm ? &hmm : nullptr);
        std::string sWords;
        AppendSegTokens(sLine.data(), vecTokens, false, sWords);
        sOut += sWords + "\n";
    }
    if (!WriteFileAtomic(options.sOut, sOut)) {
        std::fprintf(stderr, "SegmenterCut: cannot write %s\n", options.sOut.c_str());
        return 1;
    }
    std::printf("{\"mb_per_s\": %.4f, \"bytes\": %zu, \"tokens\": %zu}\n", sText.size() / 1e6 / dBest, sText.size(),
                nTokens / static_cast<size_t>(options.nRuns));
    return 0;
}
