// The services shared by every checker instance, created by start-up and
// destroyed by shutdown. Checks read them; only the frame replaces them.
#pragma once

#include <memory>
#include <string>

#include "Checker/CheckServices.h"

class CRUXManager;
class CDocFormatCheck;
class CNum2FontSize;
class CID2Message;
class CQueryExpand;
class CBufferManager;

extern bool g_bVESKARInit;
extern std::string g_sInitDir;  // the resolved init directory
extern std::unique_ptr<CRUXManager> g_pRUXManager;
extern std::unique_ptr<CDocFormatCheck> g_pDocFormatChecker;  // null when format check is off
extern std::unique_ptr<CNum2FontSize> g_pNum2FontSize;        // null when format check is off
extern std::unique_ptr<CID2Message> g_pError2Message;
extern std::unique_ptr<CQueryExpand> g_pSimDict;
extern std::unique_ptr<CQueryExpand> g_pSpellCheckDict;
// Strings returned by the frame's own exports.
extern std::unique_ptr<CBufferManager> g_pVeskarBuffer;

// The services above as the checks see them, for a new checker instance.
_tCheckServices CheckServices();
