// Page 0 of a checked document, and handing it to the desktop.
#include "PageFiles.h"

#include <json/json.h>
#include <spawn.h>
#include <sys/stat.h>

#include <cstdio>
#include <vector>

extern char** environ;

std::string FirstPagePath(const Json::Value& result)
{
    std::string sWork = result["docxPath"].asString();
    size_t nSlash = sWork.find_last_of('/');
    std::string sFolder = nSlash == std::string::npos ? "." : sWork.substr(0, nSlash);
    std::string sPage = sFolder + "/" + result["docxFile"].asString() + "_0.htm";
    struct stat st {};
    return stat(sPage.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? sPage : std::string();
}

bool OpenInBrowser(const std::string& sPath)
{
    std::vector<char*> vecArgs = {const_cast<char*>("xdg-open"), const_cast<char*>(sPath.c_str()), nullptr};
    pid_t pid = 0;
    // The browser outlives us; its exit is not waited for.
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, vecArgs.data(), environ) != 0) {
        std::fprintf(stderr, "veskar: cannot start xdg-open; open %s in a browser\n", sPath.c_str());
        return false;
    }
    return true;
}
