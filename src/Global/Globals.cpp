// Definitions and defaults of the process-wide switches and state.
#include "Global/Globals.h"

std::atomic<bool> g_bPunctionCheck {true};
std::atomic<bool> g_bFormatCheck {true};
std::atomic<bool> g_bBodyFormatCheck {true};
std::atomic<bool> g_bOCR {false};
std::atomic<bool> g_bFilteringCheck {false};
std::atomic<bool> g_bSpellingCheck {false};
std::atomic<bool> g_bCountryDetect {false};
std::atomic<bool> g_bLog {true};
std::string g_sSpellingHostIP;

std::string g_sDefaultDir;
std::string g_sLogPath;
std::atomic<int> g_nEncoding {1};

thread_local std::string g_sLastErrorMessage;

void ResetSwitches()
{
    g_bPunctionCheck = true;
    g_bFormatCheck = true;
    g_bBodyFormatCheck = true;
    g_bOCR = false;
    g_bFilteringCheck = false;
    g_bSpellingCheck = false;
    g_bCountryDetect = false;
    g_bLog = true;
    g_sSpellingHostIP.clear();
}
