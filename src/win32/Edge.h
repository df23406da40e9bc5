#pragma once
// Where the system calls into the program. The system's frames cannot pass a
// C++ exception on, so every callback ends any failure itself.
#include <windows.h>
#include <exception>
#include <string>
#include "win32/Text.h"

namespace win32 {

// Logs the failure being handled; only inside a catch block.
inline void logUnhandled() noexcept {
    try {
        throw;
    } catch (const std::exception& e) {
        try {
            OutputDebugStringW(widen(std::string("Lumivo: unhandled failure: ") + e.what() + "\n").c_str());
            return;
        } catch (...) {
        }
    } catch (...) {
    }
    OutputDebugStringW(L"Lumivo: unhandled failure\n");
}

}  // namespace win32
