// Storage of the shared agent-test engine.
#include "AgentFixture.h"

CTempDataDir* AgentTest::s_pData = nullptr;
int AgentTest::s_nSet = 0;
