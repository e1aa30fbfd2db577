// <windows.h> for the Win32 layer and its tests, without the A/W macros
// whose names collide with methods of the platform interfaces
// (FileSystem::CreateDirectory would silently become CreateDirectoryW in
// some files and not in others). Include this instead of <windows.h>.
#pragma once

#include <windows.h>

#undef CreateDirectory
#undef DeleteFile
