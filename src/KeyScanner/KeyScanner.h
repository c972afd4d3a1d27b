// The keyword scanner (the KS_* interface): weighted keyword classes and
// wrongly written words. For now it starts and stops and finds nothing;
// its word lists come with the dictionaries.
#pragma once

// Starts on the init directory with an encoding code; 1 or 0.
int KS_Init(const char* sInitDir, int nEncoding);
void KS_Exit();
const char* KS_GetLastErrorMsg();
// Scans a text for wrongly written words and keyword classes. The answer
// reads "(Check <class>)<right>--><written>##...$" ("" when nothing is found
// or the scanner is not started); it stays valid until the thread's next scan.
const char* KS_ScanDetail(const char* sText, int nMode, int nHandle);
