#include <windows.h>
#include <objbase.h>
#include "app/App.h"
#include "app/Program.h"
#include "win32/Machine.h"

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
        win32::Machine machine(instance);
        app::App app(machine.ports());
        app.portable = &machine.store;
        app::Program program(app);
        return program.run();
    } catch (...) {
        // Not even the program's parts could be made: nothing to write a record with.
        return 1;
    }
}
