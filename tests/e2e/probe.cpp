// Loaded into Pinvale by the tests (see Probe in driver.h): reads, from
// inside, what another process cannot.
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <cstdio>

// The bytes in use in all the process's heaps, for the soak: the private
// bytes seen from outside hide a slow leak in the heap's free space.
extern "C" __declspec(dllexport) DWORD WINAPI HeapBytesInUse(void* /*unused*/) {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  DWORD inUse = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) inUse += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return inUse;
}

// The id of the checked item of the window's system menu, its top bit set
// if it is not shown as a radio item; 0 if none is checked. Menus cannot be
// read from another process.
extern "C" __declspec(dllexport) DWORD WINAPI CheckedSystemMenuItem(void* window) {
  HMENU menu = GetSystemMenu(static_cast<HWND>(window), FALSE);
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
    if (GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &item) && (item.fState & MFS_CHECKED) != 0) {
      return item.wID | ((item.fType & MFT_RADIOCHECK) != 0 ? 0 : 0x80000000U);
    }
  }
  return 0;
}

// Glyphs missing from the fonts that the window's controls draw their texts
// in, and its tooltips their tips: none if one face draws each by itself.
namespace {
DWORD Missing(HWND control, const wchar_t* text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  WORD glyphs[256];
  const int length = lstrlenW(text);
  DWORD missing = GetGlyphIndicesW(dc, text, length, glyphs, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR;
  for (int i = 0; i < length; ++i) missing += glyphs[i] == 0xFFFF;
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return missing;
}
BOOL CALLBACK AddMissing(HWND control, LPARAM missing) {
  wchar_t text[256];
  GetWindowTextW(control, text, 256);
  *reinterpret_cast<DWORD*>(missing) += Missing(control, text);
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.lpszText = text;
  if (GetClassNameW(control, text, 256) && lstrcmpW(text, TOOLTIPS_CLASSW) == 0) {
    for (UINT i = 0; SendMessageW(control, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)); ++i) {
      *reinterpret_cast<DWORD*>(missing) += Missing(control, text);
    }
  }
  return TRUE;
}
}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI MissingGlyphs(void* window) {
  DWORD missing = 0;
  EnumChildWindows(static_cast<HWND>(window), AddMissing, reinterpret_cast<LPARAM>(&missing));
  EnumThreadWindows(GetWindowThreadProcessId(static_cast<HWND>(window), nullptr), AddMissing,
                    reinterpret_cast<LPARAM>(&missing));
  return missing;
}

// A failing Win32 call for the start-up tests: PINVALE_FAULT="NAME N ERROR"
// in Pinvale's environment makes its Nth call of NAME (every call for 0)
// fail with ERROR, patched into its import table as the probe loads, before
// any of Pinvale's own code runs.
namespace {
DWORD faultError = 0;
int failingCall = 0;
int calls = 0;

template <typename Function>
struct Failing;
template <typename Result, typename... Arguments>
struct Failing<Result(WINAPI*)(Arguments...)> {
  static inline Result(WINAPI* real)(Arguments...) = nullptr;
  static Result WINAPI Call(Arguments... arguments) {
    if (++calls != failingCall && failingCall != 0) return real(arguments...);
    SetLastError(faultError);
    return Result{};
  }
};

template <typename Function>
bool Patch(const char* wanted, const char* name, Function) {
  if (lstrcmpA(wanted, name) != 0) return false;
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* headers =
      reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports); dll->Name != 0; ++dll) {
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
    auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slot) {
      const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) || lstrcmpA(byName->Name, name) != 0) continue;
      DWORD protection = 0;
      VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
      Failing<Function>::real = reinterpret_cast<Function>(slot->u1.Function);
      slot->u1.Function = reinterpret_cast<ULONG_PTR>(&Failing<Function>::Call);
      VirtualProtect(slot, sizeof *slot, protection, &protection);
      return true;
    }
  }
  return false;
}
}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
  char fault[64];
  if (reason != DLL_PROCESS_ATTACH || GetEnvironmentVariableA("PINVALE_FAULT", fault, 64) == 0) return TRUE;
  char name[32];
  if (sscanf(fault, "%31s %d %lu", name, &failingCall, &faultError) != 3) return FALSE;
  return Patch(name, "RegisterClassExW", &RegisterClassExW) ||
         Patch(name, "CreateWindowExW", &CreateWindowExW) ||
         Patch(name, "CreateFontIndirectW", &CreateFontIndirectW) || Patch(name, "LoadImageW", &LoadImageW) ||
         Patch(name, "SetTimer", &SetTimer);
}
