// veskar catalogue: imports, exports and shows the error catalogue.
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kCatalogueUsage =
    "usage: veskar catalogue import FILE [--data DIR]\n"
    "       veskar catalogue export FILE [--data DIR]\n"
    "       veskar catalogue json [--data DIR]\n"
    "\n"
    "The error catalogue maps each error code to its message and scores.\n"
    "  import FILE  replace the messages with a text catalogue (a header line,\n"
    "               then 'code<TAB>message<TAB>each<TAB>max' per line) and save\n"
    "               it into the data folder's Error/ErrorMessage.dat\n"
    "  export FILE  write the catalogue in that text form\n"
    "  json         print the catalogue as JSON\n"
    "\n"
    "  --data DIR   the data folder, or the folder that holds it\n";

namespace {

int Import(const std::string& sFile)
{
    int nCount = VESKAR_ImportErrorMsg(sFile.c_str());
    if (nCount < 0)
        return ReportFailure("cannot import the catalogue from " + sFile);
    std::printf("imported %d error codes from %s\n", nCount, sFile.c_str());
    return 0;
}

int Export(const std::string& sFile)
{
    int nCount = VESKAR_ExportErrorMsg(sFile.c_str());
    if (nCount < 0)
        return ReportFailure("cannot export the catalogue to " + sFile);
    std::printf("exported %d error codes to %s\n", nCount, sFile.c_str());
    return 0;
}

int PrintJson()
{
    const char* sJson = Audit_GetErrorInfo();
    if (!sJson)
        return ReportFailure("no catalogue");
    std::printf("%s\n", sJson);
    return 0;
}

}  // namespace

int RunCatalogue(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    if (!args.Parse(argc, argv, nFirst, {"--data"}))
        return UsageError(kCatalogueUsage, args.Error().c_str());
    if (args.Has("--help")) {
        std::fputs(kCatalogueUsage, stdout);
        return 0;
    }
    const auto& words = args.Words();
    std::string sAction = words.empty() ? "" : words[0];
    bool bNeedsFile = sAction == "import" || sAction == "export";
    if (!(bNeedsFile && words.size() == 2) && !(sAction == "json" && words.size() == 1))
        return UsageError(kCatalogueUsage, "expected import FILE, export FILE or json");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    if (sAction == "import")
        return Import(words[1]);
    if (sAction == "export")
        return Export(words[1]);
    return PrintJson();
}
