// posix_spawn keeps the caller's threads and folder untouched; the child
// gets its own process group so a time-out can stop everything it started.
#include "Convert/ExternalProgram.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

std::string CExternalProgram::Find(const std::string& sName)
{
    if (sName.empty())
        return std::string();
    if (sName.find('/') != std::string::npos)
        return access(sName.c_str(), X_OK) == 0 ? sName : std::string();
    const char* sPath = std::getenv("PATH");
    std::string sDirs = sPath ? sPath : "/usr/local/bin:/usr/bin:/bin";
    size_t nPos = 0;
    while (nPos <= sDirs.size()) {
        size_t nEnd = sDirs.find(':', nPos);
        if (nEnd == std::string::npos)
            nEnd = sDirs.size();
        std::string sDir = sDirs.substr(nPos, nEnd - nPos);
        nPos = nEnd + 1;
        if (sDir.empty())
            continue;
        std::string sFull = sDir + "/" + sName;
        struct stat st {};
        if (::stat(sFull.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(sFull.c_str(), X_OK) == 0)
            return sFull;
    }
    return std::string();
}

namespace {

int WaitWithLimit(pid_t pid, int nTimeoutSec, int& nStatus)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(nTimeoutSec);
    for (;;) {
        pid_t nDone = waitpid(pid, &nStatus, WNOHANG);
        if (nDone == pid)
            return 0;
        if (nDone < 0 && errno != EINTR)
            return -1;
        if (std::chrono::steady_clock::now() >= deadline)
            return 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace

int CExternalProgram::Run(const std::vector<std::string>& vecArgs, int nTimeoutSec, std::string& sError)
{
    sError.clear();
    if (vecArgs.empty())
        return -1;
    std::string sProgram = Find(vecArgs[0]);
    if (sProgram.empty()) {
        sError = vecArgs[0] + " is not installed";
        return -1;
    }
    std::vector<char*> argv;
    for (const std::string& sArg : vecArgs)
        argv.push_back(const_cast<char*>(sArg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attr, 0);
    pid_t pid = 0;
    int nErr = posix_spawn(&pid, sProgram.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (nErr != 0) {
        sError = "cannot start " + sProgram + ": " + std::strerror(nErr);
        return -1;
    }
    int nStatus = 0;
    int nWait = WaitWithLimit(pid, nTimeoutSec, nStatus);
    if (nWait == 1) {
        kill(-pid, SIGKILL);
        waitpid(pid, &nStatus, 0);
        sError = sProgram + " did not finish within " + std::to_string(nTimeoutSec) + " seconds";
        return -1;
    }
    if (nWait < 0) {
        sError = "lost track of " + sProgram;
        return -1;
    }
    if (WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0)
        return 0;
    if (WIFEXITED(nStatus))
        sError = sProgram + " failed with exit status " + std::to_string(WEXITSTATUS(nStatus));
    else
        sError = sProgram + " was stopped by signal " + std::to_string(WTERMSIG(nStatus));
    return -1;
}
