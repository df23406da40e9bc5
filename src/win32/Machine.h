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
    // The registry port is the portable store, which is the system's registry until it finds its marker.
    app::Ports ports() { return {clock, store, audio, shell, power, system, mail, ui}; }

    Win32Clock clock;
    Win32Registry registry;
    Win32Audio audio;
    Win32Shell shell;
    Win32Power power;
    Win32System system;
    Win32Mail mail;
    Win32Ui ui;
    settings::PortableStore store{registry, system};
};

}  // namespace win32
