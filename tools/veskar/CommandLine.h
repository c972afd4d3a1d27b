// Parsed arguments of one veskar command: positional words and --options.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

class CCommandLine {
public:
    // Parses argv from index nFirst. Options in setValued take a value
    // ("--data DIR" or "--data=DIR"); those in setFlags and --help/-h take
    // none; any other option is an error.
    bool Parse(int argc, char** argv, int nFirst, const std::set<std::string>& setValued,
               const std::set<std::string>& setFlags = {});
    const std::string& Error() const { return m_sError; }

    bool Has(const std::string& sOption) const { return m_mapOptions.count(sOption) > 0; }
    std::string Get(const std::string& sOption, const std::string& sDefault = "") const;
    const std::vector<std::string>& Words() const { return m_vecWords; }
    // A whole-number option within [nMin, nMax]; nDefault when absent.
    bool GetInt(const std::string& sOption, int nDefault, int nMin, int nMax, int& nValue) const;

private:
    std::vector<std::string> m_vecWords;
    std::map<std::string, std::string> m_mapOptions;
    std::string m_sError;
};
