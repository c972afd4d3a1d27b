// Sets a process-wide switch for the life of the guard and puts back the
// value it had before, also when a failed assertion ends the test early.
// As a fixture member it covers SetUp, the test and TearDown.
#pragma once

#include <atomic>

class CSwitchGuard {
public:
    CSwitchGuard(std::atomic<bool>& bSwitch, bool bValue) : m_switch(bSwitch), m_bBefore(bSwitch.exchange(bValue)) {}
    ~CSwitchGuard() { m_switch = m_bBefore; }
    CSwitchGuard(const CSwitchGuard&) = delete;
    CSwitchGuard& operator=(const CSwitchGuard&) = delete;

private:
    std::atomic<bool>& m_switch;
    const bool m_bBefore;
};
