// veskar: the command-line face of libveskar.
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace {

const _tCommand kCommands[] = {
    {"info", "start the library and show version, switches and tables", kInfoUsage, RunInfo},
    {"catalogue", "import, export or show the error catalogue", kCatalogueUsage, RunCatalogue},
    {"show", "print a saved check result as a summary", kShowUsage, RunShow},
    {"parse", "parse a document into its document and content files", kParseUsage, RunParse},
    {"text", "print the plain text of a document", kTextUsage, RunText},
};

void PrintHelp(FILE* out)
{
    std::fputs("usage: veskar COMMAND [ARGS] [--data DIR]\n\n"
               "Checks Chinese report documents. Commands:\n", out);
    for (const auto& command : kCommands)
        std::fprintf(out, "  %-10s %s\n", command.sName, command.sSummary);
    std::fputs("\n'veskar COMMAND --help' shows a command's options.\n", out);
}

}  // namespace

int UsageError(const char* sUsage, const char* sWhy)
{
    std::fprintf(stderr, "veskar: %s\n\n%s", sWhy, sUsage);
    return 2;
}

int main(int argc, char** argv)
{
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
        !std::strcmp(argv[1], "help")) {
        PrintHelp(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("veskar %s\n", VESKAR_CLI_VERSION);
        return 0;
    }
    for (const auto& command : kCommands) {
        if (!std::strcmp(argv[1], command.sName))
            return command.pRun(argc, argv, 2);
    }
    std::fprintf(stderr, "veskar: unknown command '%s'\n\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
