// Loaded into Pinvale by the tests (see Probe in driver.h): reads, from
// inside, what another process cannot.
#include <windows.h>

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
