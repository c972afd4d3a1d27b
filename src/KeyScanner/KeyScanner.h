// The keyword scanner (the KS_* interface): wrongly written words with their
// right forms, and keywords in weighted classes, read from the lists in
// <init dir>/Data/KeyScanner/ (format: KeywordList.h):
//   ErrorWord.txt  wrongly written words and guarded phrases (required)
//   KeyClass.txt   keyword classes (optional)
//   UserDict.txt   what KS_ImportUserDict added (optional, read last, so
//                  its entries win)
// Scans may run on any number of threads while an import replaces the
// dictionary; each scan uses the dictionary it started with.
#pragma once

// Starts on the init directory: nEncoding 1 for UTF-8 texts and answers, 0
// for GBK. 1, or 0 when the folder or a list cannot be read (the reason is
// in KS_GetLastErrorMsg). Starting again reloads the lists.
int KS_Init(const char* sInitDir, int nEncoding);
void KS_Exit();
// Why the calling thread's last KS_* call failed.
const char* KS_GetLastErrorMsg();
// Adds the entries of a list file to the user list (bOverwrite: replaces the
// user list instead), with the pinyin initials of its keywords when
// bPinyinAbbrevNeeded, and saves the user list as UserDict.txt. The number
// of entries imported; -1 when the scanner is not started, the file cannot
// be read or has a bad line, or the user list cannot be written (nothing
// changes then). nHandle must be 0, the one dictionary there is.
int KS_ImportUserDict(const char* sFilename, bool bPinyinAbbrevNeeded, bool bOverwrite, int nHandle);
// Scans a text (KeywordDict.h gives nMode and the answer layout
// "(Check <class>)<right>--><written>##...$"). "" when nothing is found, the
// scanner is not started or nHandle is not 0. The answer stays valid until
// the calling thread's next scan.
const char* KS_ScanDetail(const char* sText, int nMode, int nHandle);
