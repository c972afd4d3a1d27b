// veskar searchd: the search service on the loopback address, answering
// from the standards catalogue the build makes from data/Standards, and
// the import of a user's catalogue into it.
#include <atomic>
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "StopSignals.h"
#include "DataFolder.h"
#include "SearchServer.h"
#include "StandardCatalogue.h"

const char* const kSearchdUsage =
    "usage: veskar searchd [--port N] [--db FILE] [--data DIR] [--threads N] [--timeout S]\n"
    "       veskar searchd import FILE.tsv... [--db FILE] [--data DIR]\n"
    "\n"
    "Serves the search protocol on 127.0.0.1 until interrupted (SIGINT or\n"
    "SIGTERM): a request \"[field] Safety_Tiaowen [whole] NAME\" finds standards\n"
    "by title (Safety_Tiaowenhao: by number); \"[field] file_name [and] NAME\n"
    "[field] section_no [whole] CLAUSE\" finds the values of a clause's table\n"
    "(row_name and col_name narrow them). Answers are <Total-Number>,\n"
    "<Return-Number> and one <Document> per hit, QuickLZ-compressed.\n"
    "\n"
    "import adds or replaces the standards or clause values of tab-separated\n"
    "files whose header line is \"number title date status replaced_by\" or\n"
    "\"standard clause row_name col_name value unit\" (see\n"
    "Data/Standards/README.md).\n"
    "\n"
    "  --port N      the port (default 8869, the one SearchAgent.xml names; 0 takes a free one)\n"
    "  --db FILE     the catalogue (default DATA/Standards/Standards.db)\n"
    "  --data DIR    the data folder, or the folder that holds it\n"
    "  --threads N   queries answered at once (default 8)\n"
    "  --timeout S   seconds a connection may take (default 10)\n";

namespace {

const int kDefaultPort = 8869;
// --db, or the catalogue of the data folder --data (or the default) names.
bool CatalogueFile(const CCommandLine& args, std::string& sFile)
{
    sFile = args.Get("--db");
    if (!sFile.empty())
        return true;
    std::string sInitDir, sError;
    if (!FindInitDir(args.Get("--data"), sInitDir, sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return false;
    }
    sFile = sInitDir + "/Data/Standards/Standards.db";
    return true;
}

int Import(const CCommandLine& args)
{
    std::string sDb, sError;
    if (!CatalogueFile(args, sDb))
        return 1;
    CStandardCatalogue catalogue;
    if (!catalogue.Open(sDb, sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return 1;
    }
    for (size_t i = 1; i < args.Words().size(); ++i) {
        int nCount = catalogue.ImportFile(args.Words()[i], sError);
        if (nCount < 0) {
            std::fprintf(stderr, "veskar: %s (nothing of it imported)\n", sError.c_str());
            return 1;
        }
        std::printf("%s: %d records\n", args.Words()[i].c_str(), nCount);
    }
    std::printf("%s: %d standards, %d clause values\n", sDb.c_str(), catalogue.CountStandards(),
                catalogue.CountClauseValues());
    return 0;
}

int Serve(const CCommandLine& args)
{
    _tSearchServerOptions options;
    if (!args.GetInt("--port", kDefaultPort, 0, 65535, options.nPort) ||
        !args.GetInt("--threads", options.nWorkers, 1, 256, options.nWorkers) ||
        !args.GetInt("--timeout", options.nConnectionSeconds, 1, 3600, options.nConnectionSeconds))
        return UsageError(kSearchdUsage, "--port takes 0 to 65535, --threads 1 to 256, --timeout 1 to 3600");
    if (!CatalogueFile(args, options.sDatabase))
        return 1;
    std::atomic<bool>& bStop = CatchStopSignals();
    CSearchServer server(options);
    std::string sError;
    if (!server.Listen(sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return 1;
    }
    std::printf("veskar searchd: listening on 127.0.0.1:%d, catalogue %s\n", server.Port(), options.sDatabase.c_str());
    std::fflush(stdout);
    server.Run(bStop);
    std::printf("veskar searchd: stopped after %zu answers, %zu refused, %zu dropped\n", server.Answered(),
                server.Refused(), server.Dropped());
    return 0;
}

}  // namespace

int RunSearchd(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kSearchdUsage, {"--port", "--db", "--data", "--threads", "--timeout"},
                          {}, nExit))
        return nExit;
    if (!args.Words().empty() && args.Words()[0] == "import") {
        if (args.Words().size() < 2)
            return UsageError(kSearchdUsage, "import takes one or more FILE.tsv");
        return Import(args);
    }
    if (!args.Words().empty())
        return UsageError(kSearchdUsage, ("unknown word '" + args.Words()[0] + "'").c_str());
    return Serve(args);
}
