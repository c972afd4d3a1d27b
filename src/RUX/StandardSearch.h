// The search services a check asks about cited standards: their addresses
// read once from the data folder's "SearchAgent.xml", and one query, on a
// connection of its own, read into answer documents.
#pragma once

#include <string>
#include <vector>

#include "SearchClient/SearchAgentConfig.h"
#include "SearchClient/SearchResultParser.h"

class CStandardSearch {
public:
    enum EService { SERVICE_TIAOWEN, SERVICE_ARGUMENT };

    // sDataDir: the data folder (with or without a trailing "/").
    explicit CStandardSearch(std::string sDataDir) : m_sDataDir(std::move(sDataDir)) {}

    // Reads the addresses when the service's address is still unknown;
    // false, with the last-error text set, when the file cannot be read.
    bool ReadAddresses(EService eService);
    // One query. The answer's Return-Number (0 or less: no documents), or
    // kNoAnswer when the service gave no answer ("Cannot connect server @"
    // and the address as the last-error text).
    static constexpr int kNoAnswer = -1000;
    int Query(EService eService, const std::string& sQuery, int nStart, int nCount,
              std::vector<_tSearchDocument>& vecDocuments);
    // "ip:port" of a service.
    std::string Address(EService eService) const;

private:
    std::string ConfigFile() const;

    std::string m_sDataDir;
    std::string m_sServerIP_Tiaowen;
    int m_nPort_Tianwen = -1;
    std::string m_sServerIP_Argument;
    int m_nPort_Argument = -1;
    int m_nTimeLimitSeconds = CSearchAgentConfig::kDefaultTimeLimitSeconds;
};
