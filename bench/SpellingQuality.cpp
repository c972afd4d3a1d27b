// Quality of the spelling engine on real sentences: one character of each
// sentence is replaced by a common character of the same syllable (mostly
// the same tone, as an input method would offer), and the engine's findings
// on the changed and the unchanged sentences are counted for a range of
// thresholds. Prints detection and correction precision and recall, and
// the share of unchanged sentences without a finding.
//   SpellingQuality SENTENCES_FILE [--data INITDIR] [--count N] [--seed N]
// SENTENCES_FILE holds one UTF-8 sentence a line (bench/spelling_quality.py
// makes it from documents).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Segmenter/CoreDict.h"
#include "Spelling/CharReadings.h"
#include "Spelling/SpellSuggester.h"
#include "Spelling/Utf8Chars.h"

namespace {

// A character an input method would readily offer: a word of its own that
// is not rare.
const int kCommonCharFreq = 2000;
const size_t kMinHanChars = 8;

struct _tCase {
    std::string sOriginal, sChanged;
    size_t nStart = 0;        // byte offset of the changed character
    std::string sRight;       // the character it replaced
    std::vector<_tSpellCorrection> vecOnChanged, vecOnOriginal;
};

size_t HanCount(const std::vector<_tUtf8Char>& vecChars)
{
    size_t n = 0;
    for (const _tUtf8Char& ch : vecChars)
        n += IsHanChar(ch.nCode) ? 1 : 0;
    return n;
}

// Replaces one character by a homophone; false when the sentence has none.
bool MakeCase(const std::string& sSentence, const CCharReadings& readings, const CCoreDict& core, std::mt19937& rng,
              _tCase& out)
{
    std::vector<_tUtf8Char> vecChars = SplitUtf8(sSentence);
    if (HanCount(vecChars) < kMinHanChars)
        return false;
    for (int nTry = 0; nTry < 20; ++nTry) {
        const _tUtf8Char& ch = vecChars[rng() % vecChars.size()];
        const std::vector<uint16_t>& vecReadings = readings.Readings(ch.nCode);
        if (!IsHanChar(ch.nCode) || vecReadings.empty())
            continue;
        uint16_t nReading = vecReadings[rng() % vecReadings.size()];
        bool bSameTone = rng() % 10 < 7;
        std::vector<char32_t> vecPool;
        for (int nTone = 1; nTone <= 5; ++nTone) {
            if (bSameTone != (nTone == CCharReadings::Tone(nReading)))
                continue;
            for (char32_t nCode : readings.CharsWith(CCharReadings::MakeReading(CCharReadings::Syllable(nReading), nTone))) {
                std::string sChar = Utf8Of(nCode);
                int nId = core.Find(sChar.data(), sChar.size());
                if (nCode != ch.nCode && nId >= 0 && core.Freq(nId) >= kCommonCharFreq)
                    vecPool.push_back(nCode);
            }
        }
        if (vecPool.empty())
            continue;
        std::string sWrong = Utf8Of(vecPool[rng() % vecPool.size()]);
        out.sOriginal = sSentence;
        out.sRight = sSentence.substr(ch.nStart, ch.nLen);
        out.sChanged = sSentence.substr(0, ch.nStart) + sWrong + sSentence.substr(ch.nStart + ch.nLen);
        out.nStart = ch.nStart;
        return true;
    }
    return false;
}

void PrintTable(const std::vector<_tCase>& vecCases)
{
    std::printf("%9s %9s %9s %9s %9s %9s\n", "threshold", "det.prec", "det.rec", "cor.prec", "cor.rec", "clean");
    for (double fThreshold = 0.0; fThreshold <= 16.0; fThreshold += 1.0) {
        size_t nFound = 0, nDetected = 0, nCorrected = 0, nClean = 0;
        for (const _tCase& c : vecCases) {
            for (const _tSpellCorrection& r : c.vecOnChanged) {
                if (r.fGain < fThreshold)
                    continue;
                ++nFound;
                if (r.nStart == c.nStart) {
                    ++nDetected;
                    nCorrected += r.sRevise == c.sRight ? 1 : 0;
                }
            }
            bool bClean = true;
            for (const _tSpellCorrection& r : c.vecOnOriginal)
                bClean = bClean && r.fGain < fThreshold;
            nClean += bClean ? 1 : 0;
        }
        double n = static_cast<double>(vecCases.size());
        std::printf("%9.1f %9.3f %9.3f %9.3f %9.3f %9.3f\n", fThreshold,
                    nFound ? static_cast<double>(nDetected) / static_cast<double>(nFound) : 0.0, nDetected / n,
                    nFound ? static_cast<double>(nCorrected) / static_cast<double>(nFound) : 0.0, nCorrected / n,
                    nClean / n);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: SpellingQuality SENTENCES_FILE [--data INITDIR] [--count N] [--seed N] [--show N]\n");
        return 2;
    }
    std::string sInitDir = VESKAR_BENCH_INIT_DIR;
    size_t nCount = 500, nShow = 0;
    unsigned nSeed = 20240601;
    for (int i = 2; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--data"))
            sInitDir = argv[i + 1];
        else if (!std::strcmp(argv[i], "--count"))
            nCount = std::strtoul(argv[i + 1], nullptr, 10);
        else if (!std::strcmp(argv[i], "--seed"))
            nSeed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        else if (!std::strcmp(argv[i], "--show"))
            nShow = std::strtoul(argv[i + 1], nullptr, 10);
    }
    std::string sData = sInitDir + "/Data", sError;
    CSpellSuggester suggester;
    CCharReadings readings;
    CCoreDict core;
    if (!suggester.Load(sData, sError) || !readings.Load(sData + "/Spelling/Readings.dat", sError) ||
        !core.Load(sData + "/Segmenter", sError)) {
        std::fprintf(stderr, "SpellingQuality: %s\n", sError.c_str());
        return 1;
    }
    suggester.SetThreshold(0.0);
    std::vector<std::string> vecSentences;
    std::ifstream in(argv[1]);
    for (std::string sLine; std::getline(in, sLine);)
        vecSentences.push_back(sLine);
    std::mt19937 rng(nSeed);
    std::shuffle(vecSentences.begin(), vecSentences.end(), rng);
    std::vector<_tCase> vecCases;
    for (const std::string& sSentence : vecSentences) {
        _tCase c;
        if (vecCases.size() >= nCount || !MakeCase(sSentence, readings, core, rng, c))
            continue;
        c.vecOnChanged = suggester.Suggest(c.sChanged);
        c.vecOnOriginal = suggester.Suggest(c.sOriginal);
        vecCases.push_back(std::move(c));
    }
    std::printf("%zu sentences (of %zu read), seed %u\n", vecCases.size(), vecSentences.size(), nSeed);
    PrintTable(vecCases);
    for (size_t i = 0; i < nShow && i < vecCases.size(); ++i) {
        const _tCase& c = vecCases[i];
        std::printf("\n%s\n  right %s at %zu\n", c.sChanged.c_str(), c.sRight.c_str(), c.nStart);
        for (const _tSpellCorrection& r : c.vecOnChanged)
            std::printf("  changed: %s->%s at %zu gain %.2f\n", r.sOrg.c_str(), r.sRevise.c_str(), r.nStart, r.fGain);
        for (const _tSpellCorrection& r : c.vecOnOriginal)
            std::printf("  original: %s->%s at %zu gain %.2f\n", r.sOrg.c_str(), r.sRevise.c_str(), r.nStart, r.fGain);
    }
    return 0;
}
