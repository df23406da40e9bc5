#include <windows.h>
#include <objbase.h>
#include "app/App.h"
#include "app/Program.h"
#include "win32/Win32Audio.h"
#include "win32/Win32Ports.h"
#include "win32/Win32Registry.h"
#include "win32/Win32Ui.h"

namespace {

// The shell's open action may use COM objects, which want an apartment on this thread.
class ComApartment {
public:
    ComApartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {}
    ~ComApartment() {
        if (ok_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool ok_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        const ComApartment com;
        win32::Win32Clock clock;
        win32::Win32Registry registry;
        win32::Win32Audio audio;
        win32::Win32Shell shell;
        win32::Win32Power power;
        win32::Win32System system;
        win32::Win32Mail mail;
        win32::Win32Ui ui(instance);
        app::App app({clock, registry, audio, shell, power, system, mail, ui});
        app::Program program(app);
        return program.run();
    } catch (...) {
        // Not even the program's parts could be made: nothing to write a record with.
        return 1;
    }
}
