// Start and stop of the segmenter. The segmenter owns the "Log" switch
// because it is the one that reads Configure.xml.
#include "Segmenter/Segmenter.h"

#include <string>

#include "Global/Globals.h"
#include "Segmenter/SegmenterConfigure.h"
#include "Utility/FileUtility.h"

namespace {
std::string g_sSegmenterError;
bool g_bSegmenterStarted = false;
}  // namespace

int PELNOR_Init(const char* sInitDir, int nEncoding)
{
    std::string sDir = (sInitDir && *sInitDir) ? sInitDir : GetCurrentDir();
    std::string sData = JoinPath(sDir, "Data");
    if (!IsDirectory(sData)) {
        g_sSegmenterError = "No data folder " + sData;
        return 0;
    }
    _tSegmenterConfigure config;
    ReadSegmenterConfigure(JoinPath(sData, "Configure.xml"), config);
    g_bLog = config.bLog;
    g_nEncoding = nEncoding;
    g_sDefaultDir = sData;
    g_bSegmenterStarted = true;
    return 1;
}

void PELNOR_Exit()
{
    g_bSegmenterStarted = false;
}

const char* PELNOR_GetLastErrorMsg()
{
    return g_sSegmenterError.c_str();
}
