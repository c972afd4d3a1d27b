// The folder walk shared by 'veskar submit' and 'veskar batch --shard'.
#include "DocumentWalk.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

bool IsCheckableName(const std::string& sName)
{
    size_t nDot = sName.find_last_of('.');
    if (nDot == std::string::npos)
        return false;
    std::string sExt = sName.substr(nDot + 1);
    if (strncasecmp(sExt.c_str(), "doc", 3) == 0)
        return true;
    if (strcasecmp(sExt.c_str(), "wps") == 0 || strcasecmp(sExt.c_str(), "pdf") == 0)
        return true;
    if (strcasecmp(sExt.c_str(), "txt") != 0)
        return false;
    std::string sBase = sName.substr(0, nDot);
    return !(sBase.size() >= 6 && sBase.compare(sBase.size() - 6, 6, "_tuple") == 0);
}

bool ListDocuments(const std::string& sDir, std::vector<std::string>& vecFiles, std::string& sError)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::recursive_directory_iterator walk(sDir, fs::directory_options::skip_permission_denied, error);
    if (error) {
        sError = "cannot read the folder " + sDir + ": " + error.message();
        return false;
    }
    for (fs::recursive_directory_iterator end; walk != end; walk.increment(error)) {
        if (error)
            break;
        if (walk->is_regular_file(error) && IsCheckableName(walk->path().filename().string()))
            vecFiles.push_back(walk->path().lexically_relative(sDir).generic_string());
    }
    std::sort(vecFiles.begin(), vecFiles.end());
    return true;
}
