#ifndef TALVERO_AUTOMATION_SERVER_REGISTRATION_H
#define TALVERO_AUTOMATION_SERVER_REGISTRATION_H

// Writes and removes the server's registration: the application's script
// (its AppID and the native file type), the script of every coclass and the
// type library, with the program's full path for "%MODULE%".

#include <windows.h>

// False on the first failure, with the system's error code in systemError,
// or 0 when the failure has no such code (a script that does not parse).
bool RegisterServer(DWORD* systemError);
bool UnregisterServer(DWORD* systemError);

#endif
