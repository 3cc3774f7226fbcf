#pragma once

// The Win32 and Automation headers, for the COM layer only: the add-in's
// portable headers never see them. Windows defines some of the add-in's
// operation names as macros (MessageBox -> MessageBoxW, ...); they are
// undefined here so that both sides name the same member, and this layer
// calls the Win32 functions by their explicit A or W names.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#undef DeleteFile
#undef GetComputerName
#undef GetEnvironmentVariable
#undef GetUserName
#undef MessageBox
#undef SetComputerName
#undef SetEnvironmentVariable
