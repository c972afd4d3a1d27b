// A scratch folder for fuzz targets that must write files: made once per
// process on a memory file system where there is one (targets that save on
// every input would otherwise spend their time on the disk), and removed
// when the run ends so that long runs leave nothing behind.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

inline std::string& FuzzScratchPath()
{
    static std::string s_sPath;
    return s_sPath;
}

inline const std::string& FuzzScratchDir(const char* sName)
{
    std::string& sPath = FuzzScratchPath();
    if (!sPath.empty())
        return sPath;
    std::error_code error;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path(error);
    std::string sTemplate = (base / (std::string(sName) + "_XXXXXX")).string();
    if (!mkdtemp(&sTemplate[0]))
        std::abort();  // no writable scratch folder: nothing could be tested
    sPath = sTemplate;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(FuzzScratchPath(), ignored);
    });
    return sPath;
}
