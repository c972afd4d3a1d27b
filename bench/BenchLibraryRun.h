// The frame of the benchmarks that check documents through the C interface:
// a scratch folder of their own, the library started on the data folder
// and stopped again, and the scratch folder removed, whatever the run gives.
// Header only, as every bench/*.cpp is a program of its own.
#pragma once

#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "veskar.h"

namespace bench {

// Runs run(scratch folder) between VESKAR_Init and VESKAR_Exit; its exit
// code, or 1 when the folder or the library cannot be had.
template <typename Run>
int RunWithLibrary(const char* sScratchPrefix, const std::string& sInitDir, Run run)
{
    std::string sTemplate = std::string("/tmp/") + sScratchPrefix + "-XXXXXX";
    if (!mkdtemp(&sTemplate[0]))
        return 1;
    if (VESKAR_Init(sInitDir.c_str()) != VESKAR_INIT_OK) {
        std::fprintf(stderr, "cannot start on %s: %s\n", sInitDir.c_str(), VESKAR_GetLastErrorMsg());
        return 1;
    }
    int nExit = run(sTemplate);
    VESKAR_Exit();
    std::error_code error;
    std::filesystem::remove_all(sTemplate, error);
    return nExit;
}

}  // namespace bench
