// One library start per command run.
#include "LibrarySession.h"

#include <cstdio>

#include "DataFolder.h"
#include "veskar.h"

namespace {

const char* StartFailure(int nCode)
{
    switch (nCode) {
    case -1: return "the rule engine could not start";
    case -5: return "the format checker could not be created";
    case -6: return "the error catalogue did not load";
    case -7: return "the font-size table is missing or empty";
    default: return "start-up failed";
    }
}

}  // namespace

CLibrarySession::CLibrarySession(const std::string& sData)
{
    std::string sError;
    if (!FindInitDir(sData, m_sInitDir, sError)) {
        std::fprintf(stderr, "veskar: %s\n", sError.c_str());
        return;
    }
    int nCode = VESKAR_Init(m_sInitDir.c_str());
    if (nCode != 1) {
        std::fprintf(stderr, "veskar: cannot start on %s/Data: %s (%d)\n  %s\n", m_sInitDir.c_str(),
                     StartFailure(nCode), nCode, VESKAR_GetLastErrorMsg());
        VESKAR_Exit();
        return;
    }
    m_bStarted = true;
}

CLibrarySession::~CLibrarySession()
{
    if (m_bStarted)
        VESKAR_Exit();
}

int ReportFailure(const std::string& sWhat)
{
    std::fprintf(stderr, "veskar: %s\n", sWhat.c_str());
    const char* sDetail = VESKAR_GetLastErrorMsg();
    if (sDetail && *sDetail)
        std::fprintf(stderr, "  %s\n", sDetail);
    return 1;
}
