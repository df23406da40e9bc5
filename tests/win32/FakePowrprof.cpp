// A power library that refuses everything. Put beside the test program, it
// shows whether the program ever takes a library of that name from its own
// folder instead of the system's (on Windows by its answers too).
#include <windows.h>

extern "C" __declspec(dllexport) BOOLEAN WINAPI IsPwrHibernateAllowed() { return FALSE; }

extern "C" __declspec(dllexport) BOOLEAN WINAPI SetSuspendState(BOOLEAN, BOOLEAN, BOOLEAN) { return FALSE; }
