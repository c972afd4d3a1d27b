// Start, stop and the calls of the segmenter. The segmenter owns the "Log"
// switch because it is the one that reads Configure.xml. A shared lock
// keeps the segmenter alive while a call uses it; start and stop take it
// exclusively.
#include "Segmenter/Segmenter.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "Global/Globals.h"
#include "Segmenter/SegmenterConfigure.h"
#include "Segmenter/WordSegmenter.h"
#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"
#include "Utility/Log.h"

namespace {

const uint64_t kMaxUserDictBytes = uint64_t(1) << 28;

std::shared_mutex g_mutexSegmenter;
std::unique_ptr<CWordSegmenter> g_pSegmenter;
int g_nSegmenterEncoding = 1;
thread_local std::string t_sSegmenterError;
thread_local std::string t_sResult;

// Runs a call on the started segmenter; fails with the not-started result.
template <typename R, typename F>
R WithSegmenter(R notStarted, F&& call)
{
    std::shared_lock<std::shared_mutex> lock(g_mutexSegmenter);
    if (!g_pSegmenter) {
        t_sSegmenterError = "The segmenter is not started";
        return notStarted;
    }
    return call(*g_pSegmenter);
}

}  // namespace

int PELNOR_Init(const char* sInitDir, int nEncoding)
{
    std::string sDir = (sInitDir && *sInitDir) ? sInitDir : GetCurrentDir();
    std::string sData = JoinPath(sDir, "Data");
    if (!IsDirectory(sData)) {
        t_sSegmenterError = "No data folder " + sData;
        return 0;
    }
    _tSegmenterConfigure config;
    ReadSegmenterConfigure(JoinPath(sData, "Configure.xml"), config);
    g_bLog = config.bLog;
    auto pSegmenter = std::make_unique<CWordSegmenter>();
    std::string sError;
    if (!pSegmenter->Load(sData, sError)) {
        t_sSegmenterError = "Cannot start the segmenter: " + sError;
        WriteError(t_sSegmenterError);
        return 0;
    }
    std::unique_lock<std::shared_mutex> lock(g_mutexSegmenter);
    g_pSegmenter = std::move(pSegmenter);
    g_nEncoding = nEncoding;
    g_nSegmenterEncoding = nEncoding;
    g_sDefaultDir = sData;
    return 1;
}

void PELNOR_Exit()
{
    std::unique_lock<std::shared_mutex> lock(g_mutexSegmenter);
    g_pSegmenter.reset();
}

const char* PELNOR_GetLastErrorMsg()
{
    return t_sSegmenterError.c_str();
}

const char* PELNOR_ParagraphProcess(const char* sText, int bPOSTagged)
{
    if (!sText)
        return nullptr;
    return WithSegmenter<const char*>(nullptr, [&](CWordSegmenter& segmenter) {
        if (g_nSegmenterEncoding != 0) {
            segmenter.Segment(sText, std::strlen(sText), bPOSTagged != 0, t_sResult);
            return t_sResult.c_str();
        }
        std::string sUtf8, sTokens;
        GbkToUtf8(sText, sUtf8);
        segmenter.Segment(sUtf8.data(), sUtf8.size(), bPOSTagged != 0, sTokens);
        Utf8ToGbk(sTokens, t_sResult);
        return t_sResult.c_str();
    });
}

int PELNOR_ImportUserDict(const char* sFilename, int bOverwrite)
{
    if (!sFilename)
        return -1;
    return WithSegmenter(-1, [&](CWordSegmenter& segmenter) {
        std::string sPath, sText;
        GetAnsiFilename(sFilename, sPath, false);
        if (!ReadWholeFile(sPath, sText, kMaxUserDictBytes)) {
            t_sSegmenterError = std::string("Cannot read the user dictionary ") + sFilename;
            WriteError(t_sSegmenterError);
            return -1;
        }
        if (g_nSegmenterEncoding == 0) {
            std::string sUtf8;
            GbkToUtf8(sText, sUtf8);
            sText.swap(sUtf8);
        }
        return segmenter.ImportUserDict(sText, bOverwrite != 0);
    });
}

int PELNOR_AddUserWord(const char* sWord, const char* sTag)
{
    if (!sWord)
        return 0;
    return WithSegmenter(0, [&](CWordSegmenter& segmenter) {
        std::string sText = sWord, sTagText = sTag ? sTag : "";
        if (g_nSegmenterEncoding == 0) {
            GbkToUtf8(sWord, sText);
            if (sTag)
                GbkToUtf8(sTag, sTagText);
        }
        std::string sEntry = sText;
        if (!sTag && !CUserDict::ParseLine(sText, sEntry, sTagText))
            return 0;
        return segmenter.AddUserWord(sEntry, sTagText) ? 1 : 0;
    });
}

int PELNOR_SaveTheUsrDic()
{
    return WithSegmenter(0, [&](CWordSegmenter& segmenter) {
        std::string sError;
        if (segmenter.SaveUserDict(sError))
            return 1;
        t_sSegmenterError = sError;
        WriteError(sError);
        return 0;
    });
}

int PELNOR_GetWordID(const char* sWord)
{
    if (!sWord)
        return -1;
    return WithSegmenter(-1, [&](CWordSegmenter& segmenter) {
        std::string sUtf8 = sWord;
        if (g_nSegmenterEncoding == 0)
            GbkToUtf8(sWord, sUtf8);
        return segmenter.GetWordID(sUtf8.data(), sUtf8.size());
    });
}

int PELNOR_GetPairFreq(int nWordID1, int nWordID2)
{
    return WithSegmenter(0, [&](CWordSegmenter& segmenter) { return segmenter.GetPairFreq(nWordID1, nWordID2); });
}

int PELNOR_IsEnglishWord(const char* sWord)
{
    if (!sWord)
        return 0;
    return WithSegmenter(0, [&](CWordSegmenter& segmenter) {
        return segmenter.IsEnglishWord(sWord, std::strlen(sWord)) ? 1 : 0;
    });
}
