// Runs the body of an exported function so that no exception crosses the C
// interface: a failure becomes the documented error result and a message.
#pragma once

#include <exception>
#include <new>
#include <string>

#include "Global/Globals.h"
#include "Utility/Log.h"

template <typename R, typename F>
R GuardExport(const char* sFunction, R failure, F&& body) noexcept
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        g_sLastErrorMessage = std::string(sFunction) + ": out of memory";
    } catch (const std::exception& e) {
        g_sLastErrorMessage = std::string(sFunction) + ": " + e.what();
    } catch (...) {
        g_sLastErrorMessage = std::string(sFunction) + ": unexpected failure";
    }
    try {
        WriteError(g_sLastErrorMessage);
    } catch (...) {
    }
    return failure;
}
