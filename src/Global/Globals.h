// Process-wide switches and state shared by every layer of the library.
// This header holds plain state only, so the lowest layers may read it.
#pragma once

#include <string>

// Switches read from "RUX-Configure.json" (and "Configure.xml" for the log).
extern bool g_bPunctionCheck;
extern bool g_bFormatCheck;
extern bool g_bOCR;
extern bool g_bFilteringCheck;
extern bool g_bSpellingCheck;
extern bool g_bCountryDetect;
extern bool g_bLog;
extern std::string g_sSpellingHostIP;

// The current directory at start-up, then the segmenter's data directory.
extern std::string g_sDefaultDir;
// Folder of the day's ".err" and ".log" files; empty until the first line.
extern std::string g_sLogPath;
// Encoding of texts handed across the interface (1 is UTF-8).
extern int g_nEncoding;

// The last error text is kept per thread so concurrent failures on
// different instances never overwrite or tear each other's message.
extern thread_local std::string g_sLastErrorMessage;

// Puts every switch back to its built-in default.
void ResetSwitches();
