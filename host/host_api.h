#pragma once
// Functions exported by Tolvane.exe. Declared without dllimport: the plug-in
// links them through an import library, tests link a recording double.
#include <windows.h>

#include "host/texture.h"

struct HostMenuRecord;
typedef HostMenuRecord* HostMenu;

extern "C" {
HWND GetKvWnd(void);
// Fills in the host's directory. Callee-cleaned, unlike every other host call.
BOOL __stdcall GetTolvanePath(char* buffer, int size);
bool FileExists(const char* path);
const char* stylePath(const char* other);

int ReadInt(const char* file, const char* key, int defaultValue);
bool ReadBool(const char* file, const char* key, bool defaultValue);
// The returned text is valid until the next host call: copy it at once.
const char* ReadString(const char* file, const char* key, const char* defaultValue);
COLORREF ReadColor(const char* file, const char* key, const char* defaultValue);
bool WriteInt(const char* file, const char* key, int value);
bool WriteBool(const char* file, const char* key, bool value);
bool WriteString(const char* file, const char* key, const char* value);

// The text may be modified by the host while it is parsed: pass a private copy.
bool ParseItem(char* text, Texture* texture);
// `interlaced` is the Texture's byte 13 as the host wrote it: the host may keep
// more than a flag there, so it travels back unchanged, never narrowed to 0/1.
void MakeGradient(HDC dc, RECT rect, int gradient, COLORREF from, COLORREF to, uint8_t interlaced,
                  int bevel, int bevelPosition, int bevelWidth, COLORREF borderColor,
                  int borderWidth);

HostMenu MakeMenu(const char* title);
void MakeSubmenu(HostMenu parent, HostMenu child, const char* title);
void MakeMenuItem(HostMenu menu, const char* label, const char* command, bool checked);
void MakeMenuNOP(HostMenu menu, const char* label);
void ShowMenu(HostMenu menu);
void DelMenu(HostMenu menu);

void MakeSticky(HWND window);
void RemoveSticky(HWND window);
void SnapWindowToEdge(WINDOWPOS* pending, int distance, int flags);
}
