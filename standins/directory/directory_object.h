// The directory component's stand-in of kvstandins.dll: as much of it as the scenario editor's
// help calls. The component ({2E2AF920-73CD-4797-8EBD-7F501CB3581D}) answers member 1 with its
// help object; member 26 of that object (help file, topic) records
// "ShowHelp|<file>|<topic>" among the stand-ins' recorded calls (read them through the log
// recorder) and fails, as the real one does, when the help file does not exist.
#pragma once

#include <windows.h>
#include <objbase.h>

// {2E2AF920-73CD-4797-8EBD-7F501CB3581D}
constexpr CLSID CLSID_StandInDirectory = {
    0x2E2AF920, 0x73CD, 0x4797, {0x8E, 0xBD, 0x7F, 0x50, 0x1C, 0xB3, 0x58, 0x1D}};

HRESULT CreateDirectoryComponent(const IID& iid, void** object);
