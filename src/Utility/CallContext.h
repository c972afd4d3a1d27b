// Settings of the library calls a thread makes: the folder their outputs go
// to and whether they may draw progress on the terminal. Kept per thread,
// like the last-error text, so that concurrent callers never see each
// other's settings.
#pragma once

#include <string>

class CCallContext {
public:
    // Outputs (result, content and document files, unpacked packages) go
    // here; empty: beside each document.
    std::string sOutputFolder;
    // Off where progress would mix into a caller's own display (batches).
    bool bShowProgress = true;

    // The calling thread's settings.
    static CCallContext& Current();

    // Replaces the calling thread's settings for a scope and restores the
    // earlier ones at its end.
    class CScope {
    public:
        explicit CScope(CCallContext context);
        ~CScope();
        CScope(const CScope&) = delete;
        CScope& operator=(const CScope&) = delete;

    private:
        std::string m_sSavedFolder;
        bool m_bSavedProgress;
    };
};
