#pragma once
// The window, control and drawing interface the editor is written against.
// On Windows it is the system's own; elsewhere the software layer provides
// the same names with the same meanings.
#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#else
#include "editor/win32/SoftWin32.h"
#endif
