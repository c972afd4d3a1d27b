// veskar template: imports, lists, shows, deletes and exports format templates.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <json/json.h>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "LibrarySession.h"
#include "veskar.h"

const char* const kTemplateUsage =
    "usage: veskar template import SAMPLE.docx --type N --org ORG [--area A] [--argu B] [--data DIR]\n"
    "       veskar template list [--type N] [--org ORG] [--data DIR]\n"
    "       veskar template show ID [--data DIR]\n"
    "       veskar template delete ID [--data DIR]\n"
    "       veskar template export [FILE] [--data DIR]\n"
    "\n"
    "A format template holds, per paragraph kind (headings, body text, captions,\n"
    "abstract, references ...), the fonts, sizes and line spacings of a sample\n"
    "document, its heading numbering, and the parts marked KKK...GGG in it as\n"
    "required. Checks pick the template by report type, organisation, area and\n"
    "argument; \"*\" stands for any value the store does not know.\n"
    "  import SAMPLE  learn a template from a sample .docx (the same keys\n"
    "                 again replace the template) and print its ID\n"
    "  list           one line per template: ID, type, organisation, area, argument\n"
    "  show ID        the template as JSON\n"
    "  delete ID      remove a template; later IDs move down by one\n"
    "  export [FILE]  all templates as a JSON array, to FILE or standard output\n"
    "\n"
    "  --type N       report type 0..19\n"
    "  --org ORG      organisation (\"*\" for any)\n"
    "  --area A       area (default empty)\n"
    "  --argu B       argument (default empty)\n"
    "  --data DIR     the data folder, or the folder that holds it\n";

namespace {

struct _tTemplateInfo {
    int nId = 0;
    Json::Value value;
};

bool ReadTemplate(int nId, _tTemplateInfo& info)
{
    const char* sJson = VESKAR_GetTemplate(nId);
    Json::CharReaderBuilder builder;
    std::string sErrors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    info.nId = nId;
    return sJson && *sJson && reader->parse(sJson, sJson + std::char_traits<char>::length(sJson), &info.value,
                                            &sErrors);
}

std::vector<_tTemplateInfo> AllTemplates()
{
    std::vector<_tTemplateInfo> vecAll;
    size_t nCount = VESKAR_GetTemplateCount();
    for (size_t i = 0; i < nCount; ++i) {
        _tTemplateInfo info;
        if (ReadTemplate(static_cast<int>(i), info))
            vecAll.push_back(std::move(info));
    }
    return vecAll;
}

bool ParseId(const CCommandLine& args, int& nId)
{
    const std::string& sWord = args.Words()[1];
    char* pEnd = nullptr;
    long n = std::strtol(sWord.c_str(), &pEnd, 10);
    if (sWord.empty() || *pEnd || n < 0 || n > (1 << 30))
        return false;
    nId = static_cast<int>(n);
    return true;
}

int Import(const CCommandLine& args)
{
    int nType = 0;
    if (!args.Has("--type") || !args.GetInt("--type", 0, 0, kMaxReportType, nType))
        return UsageError(kTemplateUsage, "import needs --type N (0..19)");
    if (!args.Has("--org"))
        return UsageError(kTemplateUsage, "import needs --org ORG (\"*\" for any)");
    const std::string& sSample = args.Words()[1];
    int nId = VESKAR_ImportTemplate(sSample.c_str(), nType, args.Get("--org").c_str(), args.Get("--area").c_str(),
                                    args.Get("--argu").c_str());
    if (nId < 0)
        return ReportFailure("no template learnt from " + sSample);
    std::printf("template %d: type %d, organisation \"%s\", area \"%s\", argument \"%s\"\n", nId, nType,
                args.Get("--org").c_str(), args.Get("--area").c_str(), args.Get("--argu").c_str());
    return 0;
}

// sText padded with blanks to nColumns terminal columns: a Chinese
// character takes two columns and three bytes, so printf's byte count
// would misalign the table.
std::string Column(const std::string& sText, size_t nColumns)
{
    size_t nWidth = 0;
    for (size_t i = 0; i < sText.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(sText[i]);
        if ((c & 0xC0) == 0x80)
            continue;
        nWidth += c >= 0xE0 ? 2 : 1;
    }
    return sText + std::string(nWidth < nColumns ? nColumns - nWidth : 1, ' ');
}

int List(const CCommandLine& args)
{
    int nType = -1;
    if (args.Has("--type") && !args.GetInt("--type", -1, 0, kMaxReportType, nType))
        return UsageError(kTemplateUsage, "--type takes a report type 0..19");
    std::vector<_tTemplateInfo> vecAll = AllTemplates();
    std::printf("%-4s %-5s %-20s %-16s %s\n", "ID", "TYPE", "ORGANISATION", "AREA", "ARGUMENT");
    for (const _tTemplateInfo& info : vecAll) {
        const Json::Value& v = info.value;
        if (nType >= 0 && v["docReportType"].asString() != std::to_string(nType))
            continue;
        if (args.Has("--org") && v["rux_organization"].asString() != args.Get("--org"))
            continue;
        std::printf("%-4d %-5s %s%s%s\n", info.nId, v["docReportType"].asCString(),
                    Column(v["rux_organization"].asString(), 21).c_str(), Column(v["rux_area"].asString(), 17).c_str(),
                    v["rux_argument"].asCString());
    }
    return 0;
}

int Show(const CCommandLine& args)
{
    int nId = 0;
    if (!ParseId(args, nId))
        return UsageError(kTemplateUsage, "show takes a template ID");
    const char* sJson = VESKAR_GetTemplate(nId);
    if (!sJson || !*sJson)
        return ReportFailure("no template " + std::to_string(nId));
    std::fputs(sJson, stdout);
    return 0;
}

int Delete(const CCommandLine& args)
{
    int nId = 0;
    if (!ParseId(args, nId))
        return UsageError(kTemplateUsage, "delete takes a template ID");
    if (VESKAR_DeleteTemplate(nId) < 0)
        return ReportFailure("cannot delete template " + std::to_string(nId));
    std::printf("deleted template %d; %zu left\n", nId, VESKAR_GetTemplateCount());
    return 0;
}

int Export(const CCommandLine& args)
{
    Json::Value all(Json::arrayValue);
    for (_tTemplateInfo& info : AllTemplates()) {
        info.value["id"] = info.nId;
        all.append(info.value);
    }
    std::string sText = Json::StyledWriter().write(all);
    if (args.Words().size() < 2) {
        std::fputs(sText.c_str(), stdout);
        return 0;
    }
    const std::string& sFile = args.Words()[1];
    std::FILE* fp = std::fopen(sFile.c_str(), "wb");
    bool bOk = fp && std::fwrite(sText.data(), 1, sText.size(), fp) == sText.size();
    if (fp)
        bOk = std::fclose(fp) == 0 && bOk;
    if (!bOk)
        return ReportFailure("cannot write " + sFile);
    std::printf("exported %u templates to %s\n", all.size(), sFile.c_str());
    return 0;
}

struct _tVerb {
    const char* sName;
    size_t nMinWords;  // with the verb
    size_t nMaxWords;
    int (*pRun)(const CCommandLine& args);
};

const _tVerb kVerbs[] = {
    {"import", 2, 2, Import}, {"list", 1, 1, List},     {"show", 2, 2, Show},
    {"delete", 2, 2, Delete}, {"export", 1, 2, Export},
};

}  // namespace

int RunTemplate(int argc, char** argv, int nFirst)
{
    CCommandLine args;
    int nExit = 0;
    if (!ParseCommandArgs(args, argc, argv, nFirst, kTemplateUsage, {"--type", "--org", "--area", "--argu", "--data"},
                          {}, nExit))
        return nExit;
    const auto& words = args.Words();
    std::string sVerb = words.empty() ? "" : words[0];
    for (const _tVerb& verb : kVerbs) {
        if (sVerb != verb.sName)
            continue;
        if (words.size() < verb.nMinWords || words.size() > verb.nMaxWords)
            return UsageError(kTemplateUsage, ("wrong number of words for " + sVerb).c_str());
        CLibrarySession session(args.Get("--data"));
        if (!session.Started())
            return 1;
        return verb.pRun(args);
    }
    return UsageError(kTemplateUsage, "expected import, list, show, delete or export");
}
