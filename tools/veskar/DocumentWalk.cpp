// The folder walk shared by 'veskar submit' and 'veskar batch --shard'.
#include "DocumentWalk.h"

#include <algorithm>
#include <filesystem>

#include "veskar.h"

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
        if (walk->is_regular_file(error) && VESKAR_IsBatchDocument(walk->path().filename().c_str()))
            vecFiles.push_back(walk->path().lexically_relative(sDir).generic_string());
    }
    std::sort(vecFiles.begin(), vecFiles.end());
    return true;
}
