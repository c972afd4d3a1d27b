// The segmenter's settings file "Configure.xml": for now its "Log" item,
// which turns the library's log files on or off.
#pragma once

#include <string>

struct _tSegmenterConfigure {
    bool bLog = true;
};

// Reads <Log>on|off</Log> under the root element; a missing file, item or
// unknown value leaves the default. False when the file cannot be read.
bool ReadSegmenterConfigure(const std::string& sPath, _tSegmenterConfigure& config);
void ParseSegmenterConfigure(const std::string& sXml, _tSegmenterConfigure& config);
