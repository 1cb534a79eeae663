#pragma once
#include <windows.h>

// SetLayeredWindowAttributes where the system has it; false where it does not.
bool setLayeredAttributes(HWND window, COLORREF key, BYTE alpha, DWORD flags);
