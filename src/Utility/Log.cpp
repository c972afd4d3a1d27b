// Log lines are opened, appended and closed one at a time so that several
// processes and threads can share the day's files.
#include "Utility/Log.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <memory>
#include <mutex>

#include "Global/Globals.h"
#include "Utility/FileUtility.h"

namespace {

struct FileCloser {
    void operator()(FILE* fp) const { std::fclose(fp); }
};

std::mutex g_mutexLog;
std::unique_ptr<FILE, FileCloser> g_fpKG;

std::string LogFolder(const char* sPath)
{
    if (sPath && *sPath) {
        std::string sFolder = sPath;
        char cLast = sFolder.back();
        if (cLast != '/' && cLast != '\\')
            sFolder += '/';
        return sFolder;
    }
    if (!g_sLogPath.empty())
        return g_sLogPath + "/";
    // VESKAR_LOG_DIR moves the logs out of the current folder (created
    // when missing); both are looked up each time, so a caller may set the
    // variable late and no folder is remembered from an earlier call.
    const char* sEnv = std::getenv("VESKAR_LOG_DIR");
    if (sEnv && *sEnv) {
        std::error_code ec;
        std::filesystem::create_directories(sEnv, ec);
        return JoinPath(sEnv, "");
    }
    return GetCurrentDir() + "/";
}

}  // namespace

std::string FormatLocalTime(const char* sFormat)
{
    std::time_t now = std::time(nullptr);
    std::tm tmLocal {};
    localtime_r(&now, &tmLocal);
    char sBuf[64];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    size_t n = std::strftime(sBuf, sizeof sBuf, sFormat, &tmLocal);
#pragma GCC diagnostic pop
    return std::string(sBuf, n);
}

void WriteLog(const std::string& sMsg, const char* sPath, bool bError)
{
    if (!g_bLog)
        return;
    std::lock_guard<std::mutex> lock(g_mutexLog);
    std::string sFile = LogFolder(sPath) + FormatLocalTime("%Y%m%d") + (bError ? ".err" : ".log");
    std::string sTime = FormatLocalTime("%Y-%m-%d %H:%M:%S");
    FILE* fp = std::fopen(sFile.c_str(), "ab");
    if (!fp) {
        std::printf("[%s] %s\n", sTime.c_str(), sMsg.c_str());
        std::printf("Cannot write log file %s!\r\n", sFile.c_str());
        return;
    }
    std::fprintf(fp, "[%s]\t%s\n", sTime.c_str(), sMsg.c_str());
    std::fclose(fp);
}

void WriteLog(FILE* fp, const std::string& sMsg)
{
    std::string sTime = FormatLocalTime("%Y-%m-%d %H:%M:%S");
    if (!fp) {
        std::printf("[%s] %s\n", sTime.c_str(), sMsg.c_str());
        std::printf("Cannot write log file!\r");
        return;
    }
    std::fprintf(fp, "[%s] %s\n", sTime.c_str(), sMsg.c_str());
}

void WriteError(const std::string& sMsg, const char* sPath)
{
    WriteLog(sMsg, sPath, true);
}

void SetLastError(const std::string& sMsg)
{
    g_sLastErrorMessage = sMsg;
    WriteError(sMsg);
}

bool OpenKnowledgeLog(const std::string& sPath)
{
    std::lock_guard<std::mutex> lock(g_mutexLog);
    g_fpKG.reset(std::fopen(sPath.c_str(), "at+"));
    return g_fpKG != nullptr;
}

void CloseKnowledgeLog()
{
    std::lock_guard<std::mutex> lock(g_mutexLog);
    g_fpKG.reset();
}

bool IsKnowledgeLogOpen()
{
    std::lock_guard<std::mutex> lock(g_mutexLog);
    return g_fpKG != nullptr;
}

void WriteKG(const std::string& sLine)
{
    std::lock_guard<std::mutex> lock(g_mutexLog);
    if (!g_fpKG)
        return;
    std::fprintf(g_fpKG.get(), "[%s]\t%s\n", FormatLocalTime("%Y-%m-%d %H:%M:%S").c_str(), sLine.c_str());
    std::fflush(g_fpKG.get());
}
