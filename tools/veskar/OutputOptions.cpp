// --log-dir works through VESKAR_LOG_DIR, which the library reads before
// each log line; --out through the calling thread's output folder.
#include "OutputOptions.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "CommandLine.h"
#include "veskar.h"

bool ApplyOutputOptions(const CCommandLine& args)
{
    if (args.Has("--log-dir")) {
        std::string sLogDir = args.Get("--log-dir");
        if (sLogDir.empty() || setenv("VESKAR_LOG_DIR", sLogDir.c_str(), 1) != 0) {
            std::fprintf(stderr, "veskar: --log-dir needs a folder\n");
            return false;
        }
    }
    if (!args.Has("--out"))
        return true;
    std::string sOut = args.Get("--out");
    if (sOut.empty() || VESKAR_SetOutputDir(sOut.c_str()) != 1) {
        std::fprintf(stderr, "veskar: cannot write into the output folder '%s'\n", sOut.c_str());
        return false;
    }
    return true;
}
