// veskar spelld: the spelling service on the loopback address, answering
// with the library's own spelling engine.
#include <atomic>
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Commands.h"
#include "StopSignals.h"
#include "LibrarySession.h"
#include "SpellServer.h"
#include "veskar.h"

const char* const kSpelldUsage =
    "usage: veskar spelld [--port N] [--data DIR]\n"
    "\n"
    "Serves spelling suggestions over HTTP on 127.0.0.1 until interrupted\n"
    "(SIGINT or SIGTERM). POST /get_maybe_sentence with the body\n"
    "\"sentence\"=\"TEXT\" (UTF-8, at most 64 KiB) answers\n"
    "{\"pred_sentences\":[{\"detail\":[{\"org\",\"revise\",\"start\",\"end\"}...]}]},\n"
    "start and end being byte offsets into TEXT. Set \"SpellCheckIP\" in\n"
    "RUX-Configure.json to 127.0.0.1:N to check spelling with it.\n"
    "\n"
    "  --port N      the port to listen on (default 8868; 0 takes a free one)\n"
    "  --data DIR    the data folder, or the folder that holds it\n";

namespace {

const int kDefaultPort = 8868;

bool Answer(const std::string& sSentence, std::string& sAnswer)
{
    const char* sJson = VESKAR_SuggestSpelling(sSentence.c_str());
    const char* sError = sJson ? nullptr : VESKAR_GetLastErrorMsg();
    sAnswer = sJson ? sJson : (sError && *sError ? sError : "spelling failed");
    return sJson != nullptr;
}

}  // namespace

int RunSpelld(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kSpelldUsage, {"--port", "--data"}, {}, nExit))
        return nExit;
    int nPort = kDefaultPort;
    if (!args.Words().empty() || !args.GetInt("--port", kDefaultPort, 0, 65535, nPort))
        return UsageError(kSpelldUsage, "spelld takes only --port N (0 to 65535) and --data DIR");
    CLibrarySession session(args.Get("--data"));
    if (!session.Started())
        return 1;
    // Load the engine now, so missing data fails here and not on a request.
    if (!VESKAR_SuggestSpelling(""))
        return ReportFailure("cannot start the spelling engine");
    std::atomic<bool>& bStop = CatchStopSignals();
    CSpellServer server(Answer);
    std::string sError;
    if (!server.Listen(nPort, sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return 1;
    }
    std::printf("veskar spelld: listening on http://127.0.0.1:%d/get_maybe_sentence\n", server.Port());
    std::fflush(stdout);
    server.Run(bStop);
    std::printf("veskar spelld: stopped\n");
    return 0;
}
