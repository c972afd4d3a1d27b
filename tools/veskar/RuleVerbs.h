// The rule-editing verbs that veskar rules and veskar audit share (list,
// show, import, export, add, edit, delete): each command fills a table of
// callbacks for its rules, and one dispatcher parses the words, the rule
// index and the results, and prints the messages of every change.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CRuleVerbs {
public:
    // sUsage is printed on a usage error; sRule names one rule ("rule",
    // "audit rule"), sOwner what holds them ("rule set 3", "report type 3").
    CRuleVerbs(const char* sUsage, std::string sRule, std::string sOwner);
    // Callbacks may keep a pointer to their table, so it stays in place.
    CRuleVerbs(const CRuleVerbs&) = delete;
    CRuleVerbs& operator=(const CRuleVerbs&) = delete;

    // JSON array of {"no","name"}; null on failure.
    std::function<const char*()> List;
    // JSON of one rule; "" for a bad index, null on failure.
    std::function<const char*(int nIndex)> Show;
    // The index of the added rule, or negative.
    std::function<int(const std::string& sJson)> Add;
    // nIndex, or negative.
    std::function<int(int nIndex, const std::string& sJson)> Edit;
    // 1, or negative.
    std::function<int(int nIndex)> Delete;
    // Exit codes; these print their own results.
    std::function<int(const std::string& sFile)> Import;
    std::function<int(const std::string& sFile)> Export;
    // Whether export takes an optional FILE word.
    bool m_bExportFile = false;
    // The messages of the last change, one per line; never null.
    std::function<std::string()> Messages;
    // The detail of the last failure; never null.
    std::function<const char*()> LastError;

    // Runs the verb in words[0]: the exit code (2 on a usage error).
    int Run(const std::vector<std::string>& words) const;
    // Prints "veskar: <what>" with the messages and the detail; returns 1.
    int Fail(const std::string& sWhat) const;
    // Prints the messages of the last change to stderr.
    void PrintMessages() const;
    // Prints index, number and name of every rule: 0, or 1 on failure.
    int PrintList() const;
    const std::string& Owner() const { return m_sOwner; }

private:
    int PrintRule(int nIndex) const;
    int Change(const char* sWhat, int nResult) const;

    const char* m_sUsage;
    std::string m_sRule;
    std::string m_sOwner;
};
