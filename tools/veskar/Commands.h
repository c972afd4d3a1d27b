// The veskar commands. Each takes the arguments after its own name and
// returns the process exit code (0 success, 1 failure, 2 bad usage).
#pragma once

#include <set>
#include <string>

class CCommandLine;

struct _tCommand {
    const char* sName;
    const char* sSummary;
    const char* sUsage;  // full help text
    int (*pRun)(int argc, char** argv, int nFirst);
};

int RunInfo(int argc, char** argv, int nFirst);
int RunCatalogue(int argc, char** argv, int nFirst);
int RunShow(int argc, char** argv, int nFirst);
int RunParse(int argc, char** argv, int nFirst);
int RunText(int argc, char** argv, int nFirst);
int RunCheck(int argc, char** argv, int nFirst);
int RunBatch(int argc, char** argv, int nFirst);
int RunRecheck(int argc, char** argv, int nFirst);
int RunSeg(int argc, char** argv, int nFirst);
int RunDict(int argc, char** argv, int nFirst);
int RunRules(int argc, char** argv, int nFirst);
int RunExtract(int argc, char** argv, int nFirst); extern const char* const kExtractUsage;
int RunScan(int argc, char** argv, int nFirst); extern const char* const kScanUsage;

extern const char* const kInfoUsage;
extern const char* const kCatalogueUsage;
extern const char* const kShowUsage;
extern const char* const kParseUsage;
extern const char* const kTextUsage;
extern const char* const kCheckUsage;
extern const char* const kBatchUsage;
extern const char* const kRecheckUsage;
extern const char* const kSegUsage;
extern const char* const kDictUsage;
extern const char* const kRulesUsage;
int RunAudit(int argc, char** argv, int nFirst); extern const char* const kAuditUsage;
int RunTypes(int argc, char** argv, int nFirst); extern const char* const kTypesUsage;
int RunSpelld(int argc, char** argv, int nFirst); extern const char* const kSpelldUsage;
int RunSearchd(int argc, char** argv, int nFirst); extern const char* const kSearchdUsage;
int RunTemplate(int argc, char** argv, int nFirst); extern const char* const kTemplateUsage;
int RunRevise(int argc, char** argv, int nFirst); extern const char* const kReviseUsage;
int RunHtml(int argc, char** argv, int nFirst); extern const char* const kHtmlUsage;
int RunSubmit(int argc, char** argv, int nFirst); extern const char* const kSubmitUsage;
int RunWorker(int argc, char** argv, int nFirst); extern const char* const kWorkerUsage;
int RunStatus(int argc, char** argv, int nFirst); extern const char* const kStatusUsage;

// Report types run from 0 to this; a --type outside is a usage error.
constexpr int kMaxReportType = 19;

// Prints usage to stderr and returns 2.
int UsageError(const char* sUsage, const char* sWhy);
// Parses a command's options. True to go on; false when the command ends
// here, with nExit set: 0 after printing --help, 2 after a usage error.
bool ParseCommandArgs(CCommandLine& args, int argc, char** argv, int nFirst, const char* sUsage,
                      const std::set<std::string>& setValued, const std::set<std::string>& setFlags, int& nExit);
