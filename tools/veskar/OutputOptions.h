// The options that say where a command writes: --out DIR for its output
// files, --log-dir DIR for the library's day logs.
#pragma once

class CCommandLine;

// Help lines for the two options, joined into the usage texts.
#define VESKAR_OUT_HELP                                                        \
    "  --out DIR          write every output (result, document and content\n"  \
    "                     files, the unpacked package) into DIR instead of\n"   \
    "                     beside the document; DIR is created when missing\n"
#define VESKAR_LOG_DIR_HELP                                                    \
    "  --log-dir DIR      write the day logs (YYYYMMDD.log, .err) into DIR;\n" \
    "                     default $VESKAR_LOG_DIR, else the current folder\n"

// Applies --log-dir (before the library starts) and, when present, --out.
// False after printing why an option cannot be applied.
bool ApplyOutputOptions(const CCommandLine& args);
