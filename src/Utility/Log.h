// The day's error and log files, the knowledge log, and the last-error text.
#pragma once

#include <cstdio>
#include <string>

// Appends "[time]\tmessage" to <folder>/<YYYYMMDD>.err (bError) or .log.
// The folder is sPath when given, else g_sLogPath when set, else
// $VESKAR_LOG_DIR when set, else the current directory.
// Does nothing while g_bLog is off.
void WriteLog(const std::string& sMsg, const char* sPath, bool bError);
// Writes "[time] message" to an open stream, or to stdout when it is null.
void WriteLog(FILE* fp, const std::string& sMsg);
// WriteLog(sMsg, sPath, true).
void WriteError(const std::string& sMsg, const char* sPath = nullptr);
// Sets the calling thread's last-error text and appends it to the error log.
void SetLastError(const std::string& sMsg);

// The knowledge log ("KnowGraph.txt"), appended to by WriteKG while open.
bool OpenKnowledgeLog(const std::string& sPath);
void CloseKnowledgeLog();
bool IsKnowledgeLogOpen();
void WriteKG(const std::string& sLine);

// The local time formatted with strftime, e.g. "%Y-%m-%d %H:%M:%S".
std::string FormatLocalTime(const char* sFormat);
