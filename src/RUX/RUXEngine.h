// Start and stop of the stand-alone rule engine, which starts the word
// segmenter and owns the buffer manager for the strings it returns.
#pragma once

class CBufferManager;

// Starts the segmenter on sDataDir (the current directory when empty).
// 1, or -1 with "Error Init TARSIM from <path>".
int RUX_Init(const char* sDataDir, const char* sUnused = nullptr);
void RUX_Exit();
bool RUX_IsInit();
// The engine's buffer manager for returned strings; null before RUX_Init.
CBufferManager* RUX_GetBufferManager();
