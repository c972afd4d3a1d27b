// Start and stop of the keyword scanner.
#include "KeyScanner/KeyScanner.h"

#include <string>

#include "Utility/FileUtility.h"

namespace {
std::string g_sKeyScannerError;
bool g_bKeyScannerStarted = false;
}  // namespace

int KS_Init(const char* sInitDir, int /*nEncoding*/)
{
    std::string sDir = (sInitDir && *sInitDir) ? sInitDir : GetCurrentDir();
    if (!IsDirectory(JoinPath(sDir, "Data"))) {
        g_sKeyScannerError = "No data folder under " + sDir;
        return 0;
    }
    g_bKeyScannerStarted = true;
    return 1;
}

void KS_Exit()
{
    g_bKeyScannerStarted = false;
}

const char* KS_GetLastErrorMsg()
{
    return g_sKeyScannerError.c_str();
}

const char* KS_ScanDetail(const char* /*sText*/, int /*nMode*/, int /*nHandle*/)
{
    return "";
}
