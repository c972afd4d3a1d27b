// One context per thread; a new thread starts with the defaults.
#include "Utility/CallContext.h"

#include <utility>

CCallContext& CCallContext::Current()
{
    static thread_local CCallContext s_context;
    return s_context;
}

CCallContext::CScope::CScope(CCallContext context)
    : m_sSavedFolder(std::move(Current().sOutputFolder)), m_bSavedProgress(Current().bShowProgress)
{
    Current() = std::move(context);
}

CCallContext::CScope::~CScope()
{
    Current().sOutputFolder = std::move(m_sSavedFolder);
    Current().bShowProgress = m_bSavedProgress;
}
