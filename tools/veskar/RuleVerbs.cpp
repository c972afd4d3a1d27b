// The shared dispatcher of the rule-editing verbs (see RuleVerbs.h).
#include "RuleVerbs.h"

#include <json/json.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "Commands.h"

namespace {

bool ParseIndex(const std::string& sText, int& nIndex)
{
    char* pEnd = nullptr;
    long nValue = std::strtol(sText.c_str(), &pEnd, 10);
    if (sText.empty() || *pEnd || nValue < 0 || nValue > 1000000000L)
        return false;
    nIndex = static_cast<int>(nValue);
    return true;
}

bool ParseJson(const char* sText, Json::Value& root)
{
    Json::CharReaderBuilder builder;
    std::string sErrors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    return sText && reader->parse(sText, sText + std::strlen(sText), &root, &sErrors);
}

// How many words a verb takes after its name, and whether the first is a
// rule index.
struct _tVerb {
    const char* sName;
    size_t nMinWords;
    size_t nMaxWords;
    bool bIndexed;
};

const _tVerb kVerbs[] = {
    {"list", 0, 0, false},   {"show", 1, 1, true},  {"import", 1, 1, false}, {"export", 0, 1, false},
    {"add", 1, 1, false},    {"edit", 2, 2, true},  {"delete", 1, 1, true},
};

}  // namespace

CRuleVerbs::CRuleVerbs(const char* sUsage, std::string sRule, std::string sOwner)
    : m_sUsage(sUsage), m_sRule(std::move(sRule)), m_sOwner(std::move(sOwner))
{
}

int CRuleVerbs::Fail(const std::string& sWhat) const
{
    std::fprintf(stderr, "veskar: %s\n", sWhat.c_str());
    PrintMessages();
    const char* sDetail = LastError ? LastError() : "";
    if (sDetail && *sDetail)
        std::fprintf(stderr, "  %s\n", sDetail);
    return 1;
}

void CRuleVerbs::PrintMessages() const
{
    std::string sMessages = Messages ? Messages() : "";
    size_t nStart = 0;
    while (nStart < sMessages.size()) {
        size_t nEnd = sMessages.find('\n', nStart);
        if (nEnd == std::string::npos)
            nEnd = sMessages.size();
        if (nEnd > nStart)
            std::fprintf(stderr, "veskar: %s\n", sMessages.substr(nStart, nEnd - nStart).c_str());
        nStart = nEnd + 1;
    }
}

int CRuleVerbs::PrintList() const
{
    Json::Value list;
    if (!ParseJson(List(), list) || !list.isArray())
        return Fail("cannot read the " + m_sRule + "s of " + m_sOwner);
    for (Json::ArrayIndex i = 0; i < list.size(); ++i)
        std::printf("%u\t%s\t%s\n", i, list[i]["no"].asString().c_str(), list[i]["name"].asString().c_str());
    return 0;
}

int CRuleVerbs::PrintRule(int nIndex) const
{
    const char* sJson = Show(nIndex);
    if (!sJson)
        return Fail("cannot read the " + m_sRule + "s of " + m_sOwner);
    Json::Value rule;
    if (!*sJson || !ParseJson(sJson, rule)) {
        std::fprintf(stderr, "veskar: %s has no %s %d\n", m_sOwner.c_str(), m_sRule.c_str(), nIndex);
        return 1;
    }
    Json::StreamWriterBuilder builder;
    builder["emitUTF8"] = true;
    builder["indentation"] = "  ";
    std::printf("%s\n", Json::writeString(builder, rule).c_str());
    return 0;
}

int CRuleVerbs::Change(const char* sWhat, int nResult) const
{
    if (nResult < 0)
        return Fail(std::string("cannot ") + sWhat + " the " + m_sRule + " in " + m_sOwner);
    PrintMessages();
    return 0;
}

int CRuleVerbs::Run(const std::vector<std::string>& words) const
{
    const _tVerb* pVerb = nullptr;
    for (const _tVerb& verb : kVerbs)
        if (words[0] == verb.sName)
            pVerb = &verb;
    size_t nArgs = words.size() - 1;
    if (!pVerb || nArgs < pVerb->nMinWords || nArgs > pVerb->nMaxWords ||
        (pVerb->sName == std::string("export") && nArgs == 1 && !m_bExportFile))
        return UsageError(m_sUsage, "unknown action or wrong arguments");
    int nIndex = 0;
    if (pVerb->bIndexed && !ParseIndex(words[1], nIndex))
        return UsageError(m_sUsage, "expected a rule index");
    const std::string sArg = nArgs > 0 ? words[1] : "";
    const std::string sVerb = pVerb->sName;
    if (sVerb == "list")
        return PrintList();
    if (sVerb == "show")
        return PrintRule(nIndex);
    if (sVerb == "import")
        return Import(sArg);
    if (sVerb == "export")
        return Export(sArg);
    if (sVerb == "add") {
        int nResult = Add(sArg);
        if (nResult >= 0)
            std::printf("%s %d\n", m_sRule.c_str(), nResult);
        return Change("add", nResult);
    }
    if (sVerb == "edit")
        return Change("edit", Edit(nIndex, words[2]));
    return Change("delete", Delete(nIndex));
}
