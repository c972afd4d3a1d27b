// The shared services a checker instance works with. The layer above
// (the library frame) owns them and hands them to every instance it makes,
// so the checks never reach up for them. Pointers do not own; each service
// outlives every instance that was given it.
#pragma once

class CDocFormatCheck;
class CID2Message;
class CNum2FontSize;
class CQueryExpand;
class CRUXManager;

struct _tCheckServices {
    const CID2Message* pError2Message = nullptr;   // texts and scores of the finding codes
    CDocFormatCheck* pDocFormatChecker = nullptr;  // null when the format check is off
    const CNum2FontSize* pNum2FontSize = nullptr;  // null when the format check is off
    CRUXManager* pRUXManager = nullptr;            // the rule sets of every report type
    CQueryExpand* pSimDict = nullptr;              // similar words
    CQueryExpand* pSpellCheckDict = nullptr;       // wrongly written words and their right forms
};
