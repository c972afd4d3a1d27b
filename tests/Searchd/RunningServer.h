// A search server for tests: a catalogue built in a temporary folder from
// the sources a test gives, served on a free loopback port by a server
// thread that stops when the object goes.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "SearchServer.h"
#include "support/TempDir.h"

class CRunningServer {
public:
    // Builds the catalogue from the sources (each a whole TSV text); on
    // failure Port() is 0 and Error() says why.
    CRunningServer(const std::vector<std::string>& vecSources, int nConnectionSeconds = 2);
    ~CRunningServer();
    CRunningServer(const CRunningServer&) = delete;
    CRunningServer& operator=(const CRunningServer&) = delete;

    int Port() const { return m_pServer ? m_pServer->Port() : 0; }
    const std::string& Error() const { return m_sError; }
    const std::string& Database() const { return m_sDatabase; }
    const CSearchServer& Server() const { return *m_pServer; }

private:
    CTempDir m_dir;
    std::string m_sDatabase;
    std::string m_sError;
    std::unique_ptr<CSearchServer> m_pServer;
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

// The text of element sName in each document of an answer, in order.
std::vector<std::string> AnswerValues(const std::string& sAnswer, const std::string& sName);
// The number in "<sName>N</sName>", -1 when absent.
int AnswerNumber(const std::string& sAnswer, const std::string& sName);
