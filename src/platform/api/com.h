// COM start-up, interface identifiers and object creation, as far as the game uses them.
#pragma once

#include "platform/api/wintypes.h"

// An interface or class identifier. Identifiers are compared by identity: each one is a
// single named object declared beside the interface it names.
struct GUID {
    const char* name;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const GUID&;
using REFCLSID = const GUID&;
using REFGUID = const GUID&;

inline bool operator==(const GUID& a, const GUID& b) {
    return &a == &b;
}

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;

HRESULT CoInitialize(void* reserved);
void CoUninitialize();

// Creates the DirectMusic performance or loader (the only classes the game creates this way).
HRESULT CoCreateInstance(REFCLSID clsid, void* outer, DWORD context, REFIID iid, void** object);
