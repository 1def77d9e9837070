// Loaded into Pinvale by the soak (see HeapProbe in driver.h): counts the
// bytes in use in all the process's heaps, from inside, where the private
// bytes seen from outside hide a slow leak in the heap's free space.
#include <windows.h>

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
