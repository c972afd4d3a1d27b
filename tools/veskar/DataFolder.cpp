// The built tool sits beside build/Data; the installed one finds
// <prefix>/share/veskar/Data from <prefix>/bin.
#include "DataFolder.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsDir(const std::string& sPath)
{
    struct stat st {};
    return ::stat(sPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Absolute(const std::string& sPath)
{
    char sBuf[PATH_MAX];
    return realpath(sPath.c_str(), sBuf) ? std::string(sBuf) : sPath;
}

std::string ParentOf(const std::string& sPath)
{
    size_t nSlash = sPath.find_last_of('/');
    if (nSlash == std::string::npos)
        return ".";
    return nSlash == 0 ? "/" : sPath.substr(0, nSlash);
}

// The init directory for a folder that is either "Data" or holds it.
bool FromFolder(const std::string& sFolder, std::string& sInitDir)
{
    if (!IsDir(sFolder))
        return false;
    std::string sAbs = Absolute(sFolder);
    if (IsDir(sAbs + "/Data")) {
        sInitDir = sAbs;
        return true;
    }
    std::string sParent = ParentOf(sAbs);
    if (sAbs.size() >= 5 && sAbs.compare(sAbs.size() - 5, 5, "/Data") == 0 && IsDir(sParent)) {
        sInitDir = sParent;
        return true;
    }
    return false;
}

std::string ExecutableDir()
{
    char sBuf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", sBuf, sizeof sBuf - 1);
    if (n <= 0)
        return ".";
    sBuf[n] = '\0';
    return ParentOf(sBuf);
}

}  // namespace

bool FindInitDir(const std::string& sGiven, std::string& sInitDir, std::string& sError)
{
    if (!sGiven.empty()) {
        if (FromFolder(sGiven, sInitDir))
            return true;
        sError = "no data folder at " + sGiven + " (give the Data folder or the folder that holds it)";
        return false;
    }
    const char* sEnv = std::getenv("VESKAR_DATA");
    if (sEnv && *sEnv) {
        if (FromFolder(sEnv, sInitDir))
            return true;
        sError = std::string("no data folder at $VESKAR_DATA=") + sEnv;
        return false;
    }
    std::string sExeDir = ExecutableDir();
    if (FromFolder(sExeDir, sInitDir) || FromFolder(sExeDir + "/../share/veskar", sInitDir))
        return true;
    sError = "no data folder found: pass --data DIR or set VESKAR_DATA";
    return false;
}
