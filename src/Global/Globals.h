// Process-wide switches and state shared by every layer of the library.
// This header holds plain state only, so the lowest layers may read it.
#pragma once

#include <atomic>
#include <string>

// Switches read from "RUX-Configure.json" (and "Configure.xml" for the log).
// Checks running on other threads read them while a start-up or a host may
// set them, so each is atomic; a check reads each switch once, where its
// stage begins. The spelling host is set by start-up only, before any check.
extern std::atomic<bool> g_bPunctionCheck;
extern std::atomic<bool> g_bFormatCheck;
// Body text is compared with the template too ("BodyFormatCheck", on by default).
extern std::atomic<bool> g_bBodyFormatCheck;
extern std::atomic<bool> g_bOCR;
extern std::atomic<bool> g_bFilteringCheck;
extern std::atomic<bool> g_bSpellingCheck;
extern std::atomic<bool> g_bCountryDetect;
extern std::atomic<bool> g_bLog;
extern std::string g_sSpellingHostIP;

// The current directory at start-up, then the segmenter's data directory.
extern std::string g_sDefaultDir;
// Folder of the day's ".err" and ".log" files; empty until the first line.
extern std::string g_sLogPath;
// Encoding of texts handed across the interface (1 is UTF-8).
extern std::atomic<int> g_nEncoding;

// The last error text is kept per thread so concurrent failures on
// different instances never overwrite or tear each other's message.
extern thread_local std::string g_sLastErrorMessage;

// Puts every switch back to its built-in default.
void ResetSwitches();
