// Arbitrary bytes segmented, tagged and untagged, with the built
// dictionaries (<build>/Data, found beside this program or named by
// $VESKAR_FUZZ_DATA). With the first byte's low three bits 001, the first
// line is taken as a user dictionary first. Untagged output without user words must hold
// every byte of the input that is not white space, in order, and no output
// may hold doubled, leading or trailing spaces.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

#include "Global/Globals.h"
#include "Segmenter/SegmenterChars.h"
#include "Segmenter/WordSegmenter.h"
#include "Utility/FileUtility.h"

namespace {

std::string DataDir()
{
    if (const char* sDir = std::getenv("VESKAR_FUZZ_DATA"))
        return sDir;
    char sExe[4096] = {};
    ssize_t n = readlink("/proc/self/exe", sExe, sizeof(sExe) - 1);
    return n > 0 ? JoinPath(DirName(DirName(std::string(sExe, static_cast<size_t>(n)))), "Data") : "Data";
}

CWordSegmenter& Segmenter()
{
    static std::unique_ptr<CWordSegmenter> s_pSegmenter = [] {
        g_bLog = false;
        auto pSegmenter = std::make_unique<CWordSegmenter>();
        std::string sError;
        if (!pSegmenter->Load(DataDir(), sError))
            __builtin_trap();  // run from the build folder or set VESKAR_FUZZ_DATA
        return pSegmenter;
    }();
    return *s_pSegmenter;
}

std::string WithoutWhiteSpace(const std::string& sText)
{
    std::string sOut;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(sText.data());
    for (size_t nPos = 0; nPos < sText.size();) {
        _tSegChar ch = ReadSegChar(p, sText.size(), nPos);
        if (ch.eClass != ESegCharClass::Space)
            sOut.append(sText, nPos, ch.nLen);
        nPos += ch.nLen;
    }
    return sOut;
}

bool IsWellSpaced(const std::string& sOut)
{
    return sOut.empty() || (sOut.front() != ' ' && sOut.back() != ' ' && sOut.find("  ") == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    if (nSize == 0)
        return 0;
    CWordSegmenter& segmenter = Segmenter();
    std::string sText(reinterpret_cast<const char*>(pData) + 1, nSize - 1);
    // Each change of the user words compiles a dictionary, and taking them
    // away again compiles another: one input in eight keeps that path
    // covered without making it most of the run.
    bool bUserWords = (pData[0] & 7) == 1;
    static bool s_bHasUserWords = false;
    if (bUserWords || s_bHasUserWords)
        segmenter.ImportUserDict(bUserWords ? sText.substr(0, sText.find('\n')) : std::string(), true);
    s_bHasUserWords = bUserWords;
    std::string sTagged, sPlain;
    segmenter.Segment(sText.data(), sText.size(), true, sTagged);
    segmenter.Segment(sText.data(), sText.size(), false, sPlain);
    if (!IsWellSpaced(sTagged) || !IsWellSpaced(sPlain))
        __builtin_trap();
    if (!bUserWords) {
        std::string sJoined;
        for (char c : sPlain)
            if (c != ' ')
                sJoined.push_back(c);
        if (sJoined != WithoutWhiteSpace(sText))
            __builtin_trap();
    }
    return 0;
}
