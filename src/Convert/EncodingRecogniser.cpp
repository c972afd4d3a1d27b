// uchardet is created per call so that several checks can detect at once.
#include "Convert/EncodingRecogniser.h"

#include <algorithm>
#include <mutex>
#include <sstream>
#include <uchardet/uchardet.h>
#include <vector>

#include "Utility/EncodingConverter.h"
#include "Utility/FileUtility.h"

namespace {
std::mutex g_mutexModel;
std::vector<std::string> g_vecEncodings;
}  // namespace

int EncodingRecogniser_Init(const char* sModelFile)
{
    std::string sText;
    if (!sModelFile || !ReadWholeFile(sModelFile, sText, 1 << 20))
        return -1;
    std::vector<std::string> vecEncodings;
    std::istringstream in(sText);
    std::string sLine;
    while (std::getline(in, sLine)) {
        std::istringstream words(sLine);
        std::string sName;
        if (words >> sName && sName[0] != '#')
            vecEncodings.push_back(sName);
    }
    std::lock_guard<std::mutex> lock(g_mutexModel);
    g_vecEncodings = vecEncodings;
    return static_cast<int>(g_vecEncodings.size());
}

void EncodingRecogniser_Exit()
{
    std::lock_guard<std::mutex> lock(g_mutexModel);
    g_vecEncodings.clear();
}

std::string EncodingRecogniser_Detect(const std::string& sText)
{
    if (IsValidUtf8(sText))
        return "UTF-8";
    uchardet_t detector = uchardet_new();
    uchardet_handle_data(detector, sText.data(), sText.size());
    uchardet_data_end(detector);
    std::string sCharset = uchardet_get_charset(detector);
    uchardet_delete(detector);
    std::lock_guard<std::mutex> lock(g_mutexModel);
    bool bKnown = std::find(g_vecEncodings.begin(), g_vecEncodings.end(), sCharset) != g_vecEncodings.end();
    return bKnown ? sCharset : "GB18030";
}
