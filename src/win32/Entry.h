#pragma once
// Entry points looked up at run time: for what older systems lack, and for
// libraries that should not load with the program. A missing library or
// entry reads as null.
#include <windows.h>

namespace win32 {

template <class Fn>
Fn entry(HMODULE lib, const char* name) {
    return lib ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(lib, name))) : nullptr;
}

}  // namespace win32
