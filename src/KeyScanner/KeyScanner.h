// The keyword scanner (the KS_* interface): weighted keyword classes and
// wrongly written words. For now it starts and stops; scanning comes with
// the dictionaries.
#pragma once

// Starts on the init directory with an encoding code; 1 or 0.
int KS_Init(const char* sInitDir, int nEncoding);
void KS_Exit();
const char* KS_GetLastErrorMsg();
