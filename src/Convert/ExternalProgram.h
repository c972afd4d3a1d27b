// Runs an outside program (a document converter) with an argument vector:
// no shell, no change of folder, a time limit, and a clear error when the
// program is missing or fails.
#pragma once

#include <string>
#include <vector>

class CExternalProgram {
public:
    // The full path of an executable found on PATH, "" when there is none.
    static std::string Find(const std::string& sName);
    // Runs vecArgs (vecArgs[0] is looked up on PATH) with its input and
    // output on /dev/null, in its own process group, and waits at most
    // nTimeoutSec seconds; a program still running then is killed with its
    // children. 0 when it exited with status 0; otherwise -1 and sError says
    // why (not found, could not start, timed out, exit status).
    static int Run(const std::vector<std::string>& vecArgs, int nTimeoutSec, std::string& sError);
};
