// The country detector used by the rule engine's country extraction.
// For now it starts on the init directory and stops; the name list and
// the detection come with the anchored extractors.
#pragma once

// 1 on success, 0 when the init directory has no data folder.
int CountryDetect_Init(const char* sInitDir);
void CountryDetect_Exit();
