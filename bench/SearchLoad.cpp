// Load test of `veskar searchd`: starts the service as its own process,
// opens N connections at once (default 1,000), sends a query on each before
// reading any answer, then reads and checks every answer; three rounds.
// Reports the service's memory (VmRSS, peak VmHWM) and threads before and
// after each round, and how long each round took.
//   SearchLoad [--connections N] [--rounds R] [--veskar PATH] [--db FILE]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "SearchClient/QuickLZDecoder.h"
#include "SearchClient/SearchFrame.h"

extern char** environ;

namespace {

struct _tConnection {
    int nSocket = -1;
    std::string sReceived;
    bool bDone = false;
};

std::string StatusField(pid_t pid, const char* sField)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string sLine;
    while (std::getline(in, sLine)) {
        if (sLine.compare(0, std::strlen(sField), sField) == 0)
            return sLine.substr(sLine.find_first_not_of(" \t", std::strlen(sField) + 1));
    }
    return "?";
}

void Report(pid_t pid, const char* sWhen)
{
    std::printf("%-22s VmRSS %-10s VmHWM %-10s threads %s\n", sWhen, StatusField(pid, "VmRSS").c_str(),
                StatusField(pid, "VmHWM").c_str(), StatusField(pid, "Threads").c_str());
}

// Starts the service; its pid, and its port read from its first line.
pid_t StartService(const std::string& sVeskar, const std::string& sDb, int& nPort)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> vecArgs = {sVeskar, "searchd", "--port", "0", "--threads", "8"};
    if (!sDb.empty())
        vecArgs.insert(vecArgs.end(), {"--db", sDb});
    std::vector<char*> vecArgv;
    for (auto& sArg : vecArgs)
        vecArgv.push_back(sArg.data());
    vecArgv.push_back(nullptr);
    pid_t pid = -1;
    int nError = posix_spawn(&pid, sVeskar.c_str(), &actions, nullptr, vecArgv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string sLine;
    char c;
    while (nError == 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        sLine += c;
    close(fds[0]);
    size_t nAt = sLine.find("127.0.0.1:");
    nPort = nAt == std::string::npos ? 0 : std::atoi(sLine.c_str() + nAt + 10);
    return nError == 0 ? pid : -1;
}

int Connect(int nPort)
{
    int nSocket = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(static_cast<uint16_t>(nPort));
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (nSocket >= 0 && connect(nSocket, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0)
        return nSocket;
    if (nSocket >= 0)
        close(nSocket);
    return -1;
}

bool AnswerIsGood(const std::string& sFrame)
{
    if (sFrame.size() < 4 || CSearchFrame::ReadBE32(sFrame.data()) != sFrame.size() - 4)
        return false;
    std::string sText, sError;
    CQuickLZDecoder decoder;
    return decoder.Decompress(sFrame.substr(4), sText, sError) && sText.find("<Document>") != std::string::npos;
}

// Reads every connection until the service closes it, or 60 s pass.
void ReadAll(std::vector<_tConnection>& vecConnections)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    size_t nOpen = vecConnections.size();
    char buffer[65536];
    while (nOpen && std::chrono::steady_clock::now() < deadline) {
        std::vector<pollfd> vecPoll;
        std::vector<_tConnection*> vecOwner;
        for (auto& connection : vecConnections) {
            if (!connection.bDone) {
                vecPoll.push_back({connection.nSocket, POLLIN, 0});
                vecOwner.push_back(&connection);
            }
        }
        if (poll(vecPoll.data(), vecPoll.size(), 1000) <= 0)
            continue;
        for (size_t i = 0; i < vecPoll.size(); ++i) {
            if (!vecPoll[i].revents)
                continue;
            ssize_t n = recv(vecPoll[i].fd, buffer, sizeof(buffer), 0);
            if (n > 0) {
                vecOwner[i]->sReceived.append(buffer, static_cast<size_t>(n));
                continue;
            }
            vecOwner[i]->bDone = true;
            --nOpen;
        }
    }
}

void Round(int nPort, int nConnections, pid_t pid, int nRound)
{
    std::string sRequest = CSearchFrame::Request("[field] Safety_Tiaowen [whole] 建筑设计防火规范", 0, 10);
    auto start = std::chrono::steady_clock::now();
    std::vector<_tConnection> vecConnections(static_cast<size_t>(nConnections));
    int nConnected = 0;
    for (auto& connection : vecConnections) {
        connection.nSocket = Connect(nPort);
        connection.bDone = connection.nSocket < 0;
        nConnected += connection.nSocket >= 0;
    }
    for (auto& connection : vecConnections) {
        if (connection.nSocket >= 0)
            send(connection.nSocket, sRequest.data(), sRequest.size(), MSG_NOSIGNAL);
    }
    std::string sLabel = "round " + std::to_string(nRound) + " (all sent)";
    Report(pid, sLabel.c_str());
    ReadAll(vecConnections);
    double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int nGood = 0;
    for (auto& connection : vecConnections) {
        nGood += AnswerIsGood(connection.sReceived);
        if (connection.nSocket >= 0)
            close(connection.nSocket);
    }
    std::printf("round %d: %d connections, %d connected, %d good answers in %.2f s (%.0f answers/s)\n", nRound,
                nConnections, nConnected, nGood, dSeconds, nGood / dSeconds);
    sLabel = "round " + std::to_string(nRound) + " (done)";
    Report(pid, sLabel.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    std::string sVeskar = std::string(VESKAR_BENCH_INIT_DIR) + "/veskar", sDb;
    int nConnections = 1000, nRounds = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--connections"))
            nConnections = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--rounds"))
            nRounds = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--veskar"))
            sVeskar = argv[i + 1];
        else if (!std::strcmp(argv[i], "--db"))
            sDb = argv[i + 1];
    }
    signal(SIGPIPE, SIG_IGN);
    int nPort = 0;
    pid_t pid = StartService(sVeskar, sDb, nPort);
    if (pid < 0 || nPort <= 0) {
        std::fprintf(stderr, "SearchLoad: cannot start %s searchd\n", sVeskar.c_str());
        return 1;
    }
    std::printf("veskar searchd (pid %d) on 127.0.0.1:%d, 8 workers\n", static_cast<int>(pid), nPort);
    Report(pid, "started");
    for (int i = 1; i <= nRounds; ++i)
        Round(nPort, nConnections, pid, i);
    kill(pid, SIGTERM);
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    std::printf("service stopped, exit status %d\n", WIFEXITED(nStatus) ? WEXITSTATUS(nStatus) : -1);
    return 0;
}
