// A started library on a private copy of the data folder, with its log
// files kept in a folder of their own; stopped again after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/TempDataDir.h"

class CLibraryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // A small thesis-like .docx written into the test's folder.
    std::string WriteSampleDocx(const std::string& sName) const;

    CTempDataDir m_data;
    CTempDir m_logDir;
    CTempDir m_docs;
};

// "code:original;" of every finding of a JSON result, in order;
// "unreadable" when sJson is null or no JSON.
std::string Findings(const char* sJson);
