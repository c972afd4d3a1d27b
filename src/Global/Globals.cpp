// Definitions and defaults of the process-wide switches and state.
#include "Global/Globals.h"

bool g_bPunctionCheck = true;
bool g_bFormatCheck = true;
bool g_bOCR = false;
bool g_bFilteringCheck = false;
bool g_bSpellingCheck = false;
bool g_bCountryDetect = false;
bool g_bLog = true;
std::string g_sSpellingHostIP;

std::string g_sDefaultDir;
std::string g_sLogPath;
int g_nEncoding = 1;

thread_local std::string g_sLastErrorMessage;

void ResetSwitches()
{
    g_bPunctionCheck = true;
    g_bFormatCheck = true;
    g_bOCR = false;
    g_bFilteringCheck = false;
    g_bSpellingCheck = false;
    g_bCountryDetect = false;
    g_bLog = true;
    g_sSpellingHostIP.clear();
}
