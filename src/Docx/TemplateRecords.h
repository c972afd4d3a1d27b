// Records of the template store: where a template's text lies, its keys as
// texts (the editable list) and as dictionary ids (the indexed array).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

struct _tTemplateMetaData {
    int reportType = -1;              // -1: an empty or deleted slot
    uint64_t template_data_offset = 0; // byte offset of the text in docTemplate.dat
    uint64_t template_data_size = 0;
    int64_t insert_time = 0;          // seconds since the epoch
};

struct _tTemplateOrg : _tTemplateMetaData {
    std::string organization;
    std::string area;
    std::string argu;
    std::string text;  // the template text, kept in memory beside its place in the file
};

struct _tTemplate : _tTemplateMetaData {
    int32_t organization_id = -1;  // ids in the store's dictionary; -1 for an empty text
    int32_t area_id = -1;
    int32_t argu_id = -1;
};

// One term of the inverted index: its postings in the posting store.
struct _tFormatInvertList {
    uint64_t df = 0;
    int32_t start = 0;
    int32_t end = 0;  // exclusive
};
