// The stand-alone rule engine: starts the word segmenter, owns the buffer
// manager for the strings it returns and keeps the list of rule-set
// instances that the RUX_* functions address by handle.
#pragma once

#include <memory>
#include <string>

class CBufferManager;
class CRUX;

// Starts the segmenter on sDataDir (the current directory when empty),
// then creates instance 0. 1, or -1 with "Error Init TARSIM from <path>".
int StartRUXEngine(const char* sDataDir);
// Stops the segmenter and deletes every instance.
void StopRUXEngine();
bool RUX_IsInit();
// The engine's buffer manager for returned strings; null before the start.
CBufferManager* RUX_GetBufferManager();
// Folder of the rule sets: the started directory's "Data" folder (the
// default directory before a start).
std::string RUX_GetDataPath();

// A rule set on the data path with number nId, loaded when its file exists:
// the new handle, or -1 with "Not Init, no operation!" before the start.
int NewRUXInstance(int nId);
// 1, or 0 with "DC_DeleteInstance  argument(handle <n>) is invalid!".
int DeleteRUXInstance(int nHandle);
// A share of the rule set of a handle, or null with "GetRUXWorker
// argument(handle <n>) is invalid!". A call holds it while it runs, so
// deleting the handle on another thread never frees the set under it.
std::shared_ptr<CRUX> GetRUXWorker(int nHandle);
