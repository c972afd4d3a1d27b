// The search agent's configuration file "SearchAgent.xml" in the data
// folder: where the standards and clause-value services listen, and how
// long one query may take.
#pragma once

#include <string>

class CSearchAgentConfig {
public:
    static constexpr const char* kFileName = "SearchAgent.xml";
    static constexpr int kDefaultTimeLimitSeconds = 30;
    static constexpr int kMaxTimeLimitSeconds = 24 * 3600;

    // Reads the file's elements; those missing keep their defaults. False
    // with sError "Failed reading file <path>" when it cannot be read.
    bool Load(const std::string& sFile, std::string& sError);

    const std::string& TiaowenServerIP() const { return m_sServerIP_Tiaowen; }
    int TiaowenPort() const { return m_nPort_Tiaowen; }
    const std::string& ArgumentServerIP() const { return m_sServerIP_Argument; }
    int ArgumentPort() const { return m_nPort_Argument; }
    // Seconds one query may take from connect to the last answer byte.
    int TimeLimitSeconds() const { return m_nTimeLimitSeconds; }

private:
    std::string m_sServerIP_Tiaowen;
    int m_nPort_Tiaowen = -1;
    std::string m_sServerIP_Argument;
    int m_nPort_Argument = -1;
    int m_nTimeLimitSeconds = kDefaultTimeLimitSeconds;
};
