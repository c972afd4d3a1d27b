// The word segmenter and tagger (the PELNOR_* interface the rule engine uses).
// For now it starts on a data folder, reads its settings and stops;
// segmentation itself comes with the dictionaries.
#pragma once

// Starts on sInitDir, whose "Data" folder must exist: reads
// Data/Configure.xml and makes Data the default directory. 1 or 0.
int PELNOR_Init(const char* sInitDir, int nEncoding);
void PELNOR_Exit();
// Adds a user word with its tag (the rule store uses "RUX"): 1 when added.
int PELNOR_AddUserWord(const char* sWord, const char* sTag);
// Why the last start failed.
const char* PELNOR_GetLastErrorMsg();
