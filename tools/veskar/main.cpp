// veskar: the command-line face of libveskar.
#include <cstdio>
#include <cstring>

#include "CommandLine.h"
#include "Commands.h"

namespace {

const _tCommand kCommands[] = {
    {"check", "check a document and summarise its findings", kCheckUsage, RunCheck},
    {"batch", "check every document under a folder", kBatchUsage, RunBatch},
    {"show", "print a saved check result as a summary", kShowUsage, RunShow},
    {"recheck", "re-check the format of a saved result against a template", kRecheckUsage, RunRecheck},
    {"revise", "write a revised copy of a checked document from its result", kReviseUsage, RunRevise},
    {"html", "write the HTML pages of a checked document, findings marked", kHtmlUsage, RunHtml},
    {"template", "import, list, show, delete or export format templates", kTemplateUsage, RunTemplate},
    {"info", "start the library and show version, switches and tables", kInfoUsage, RunInfo},
    {"catalogue", "import, export or show the error catalogue", kCatalogueUsage, RunCatalogue},
    {"parse", "parse a document into its document and content files", kParseUsage, RunParse},
    {"text", "print the plain text of a document", kTextUsage, RunText},
    {"seg", "segment a text into words with their tags", kSegUsage, RunSeg},
    {"dict", "build, look up, scan or export a .pdat dictionary", kDictUsage, RunDict},
    {"rules", "import, list, show, export and edit extraction rule sets", kRulesUsage, RunRules},
    {"audit", "list, show, import, add, edit, delete or export a report type's audit rules", kAuditUsage, RunAudit},
    {"types", "list the report types with their rule and audit counts", kTypesUsage, RunTypes},
    {"extract", "extract key values, tuples and tables from a document with a rule set", kExtractUsage, RunExtract},
    {"scan", "trace how a rule set matches one paragraph", kScanUsage, RunScan},
    {"spelld", "serve spelling suggestions over HTTP on the loopback address", kSpelldUsage, RunSpelld},
    {"submit", "add documents as jobs to a Redis job stream", kSubmitUsage, RunSubmit},
    {"worker", "check the documents of a Redis job stream", kWorkerUsage, RunWorker},
    {"status", "show the jobs of a Redis job stream and its workers", kStatusUsage, RunStatus},
    {"searchd", "serve the standards catalogue to the search client on the loopback address", kSearchdUsage, RunSearchd},
};

void PrintHelp(FILE* out)
{
    std::fputs("usage: veskar COMMAND [ARGS] [--data DIR]\n\n"
               "Checks Chinese report documents. Commands:\n", out);
    for (const auto& command : kCommands)
        std::fprintf(out, "  %-10s %s\n", command.sName, command.sSummary);
    std::fputs("\n'veskar COMMAND --help' or 'veskar help COMMAND' shows a command's options.\n", out);
}

}  // namespace

int UsageError(const char* sUsage, const char* sWhy)
{
    std::fprintf(stderr, "veskar: %s\n\n%s", sWhy, sUsage);
    return 2;
}

bool ParseCommandArgs(CCommandLine& args, int argc, char** argv, int nFirst, const char* sUsage,
                      const std::set<std::string>& setValued, const std::set<std::string>& setFlags, int& nExit)
{
    if (!args.Parse(argc, argv, nFirst, setValued, setFlags)) {
        nExit = UsageError(sUsage, args.Error().c_str());
        return false;
    }
    if (args.Has("--help")) {
        std::fputs(sUsage, stdout);
        nExit = 0;
        return false;
    }
    return true;
}

const _tCommand* FindCommand(const char* sName)
{
    for (const auto& command : kCommands) {
        if (!std::strcmp(sName, command.sName))
            return &command;
    }
    return nullptr;
}

// "veskar help CMD" prints what "veskar CMD --help" prints.
int RunHelp(int argc, char** argv)
{
    if (argc > 3) {
        std::fputs("veskar: help takes at most one COMMAND\n\n", stderr);
        PrintHelp(stderr);
        return 2;
    }
    const _tCommand* pCommand = FindCommand(argv[2]);
    if (!pCommand) {
        std::fprintf(stderr, "veskar: unknown command '%s'\n\n", argv[2]);
        PrintHelp(stderr);
        return 2;
    }
    std::fputs(pCommand->sUsage, stdout);
    return 0;
}

int main(int argc, char** argv)
{
    if (argc >= 3 && !std::strcmp(argv[1], "help"))
        return RunHelp(argc, argv);
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
        !std::strcmp(argv[1], "help")) {
        PrintHelp(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("veskar %s\n", VESKAR_CLI_VERSION);
        return 0;
    }
    if (const _tCommand* pCommand = FindCommand(argv[1]))
        return pCommand->pRun(argc, argv, 2);
    std::fprintf(stderr, "veskar: unknown command '%s'\n\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
