#pragma once
// Every port on the real Windows API, as the program and the window tests make them.
#include <windows.h>
#include "app/App.h"
#include "win32/Win32Audio.h"
#include "win32/Win32Ports.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Ui.h"

namespace win32 {

struct Machine {
    explicit Machine(HINSTANCE instance) : ui(instance) {}
    app::Ports ports() { return {clock, registry, audio, shell, power, system, mail, ui}; }

    Win32Clock clock;
    Win32Registry registry;
    Win32Audio audio;
    Win32Shell shell;
    Win32Power power;
    Win32System system;
    Win32Mail mail;
    Win32Ui ui;
};

}  // namespace win32
