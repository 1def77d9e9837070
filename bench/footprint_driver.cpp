// Measures one program of the footprint benchmark from outside: the time
// from launch to the first readout in its edit box, then, while the pointer
// moves for the given seconds, its CPU time and memory.
// Usage: footprint_driver.exe PROGRAM.exe CAPTION EDIT-ID SECONDS
// Prints one line of name=value pairs.
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Search {
  DWORD processId;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<Search*>(parameter);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  wchar_t caption[64] = {};
  GetWindowTextW(window, caption, 64);
  if (processId == search->processId && std::wcscmp(caption, search->caption) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

double Milliseconds(const FILETIME& time) {
  ULARGE_INTEGER value{};
  value.LowPart = time.dwLowDateTime;
  value.HighPart = time.dwHighDateTime;
  return static_cast<double>(value.QuadPart) / 10000.0;
}

double CpuMilliseconds(HANDLE process) {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  return Milliseconds(kernel) + Milliseconds(user);
}

unsigned long ResidentKib(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  return static_cast<unsigned long>(counters.WorkingSetSize / 1024);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %ls PROGRAM.exe CAPTION EDIT-ID SECONDS\n", argv[0]);
    return 2;
  }
  const int editId = _wtoi(argv[3]);
  const int seconds = _wtoi(argv[4]);
  SetCursorPos(100, 100);

  LARGE_INTEGER frequency{}, launched{}, now{};
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
  QueryPerformanceCounter(&launched);
  if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::fprintf(stderr, "cannot start %ls\n", argv[1]);
    return 1;
  }

  // Launch to first readout: poll the edit box's text.
  Search search{process.dwProcessId, argv[2], nullptr};
  double startupMs = -1;
  for (int i = 0; i < 20000 && startupMs < 0; ++i) {
    if (search.found == nullptr) EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
    HWND edit = search.found != nullptr ? GetDlgItem(search.found, editId) : nullptr;
    if (edit != nullptr && SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0) > 0) {
      QueryPerformanceCounter(&now);
      startupMs = 1000.0 * static_cast<double>(now.QuadPart - launched.QuadPart) / static_cast<double>(frequency.QuadPart);
    }
    Sleep(1);
  }

  // Sampling while the pointer moves in a circle, 20 moves a second, in a
  // corner of the screen that neither program's window covers: what is
  // measured is the sampling, not the mouse passing over controls.
  Sleep(1000);
  const double cpuStart = CpuMilliseconds(process.hProcess);
  const unsigned long residentStart = ResidentKib(process.hProcess);
  for (int step = 0; step < seconds * 20; ++step) {
    const double angle = step * 0.05;
    SetCursorPos(870 + static_cast<int>(100 * std::cos(angle)), 660 + static_cast<int>(80 * std::sin(angle)));
    Sleep(50);
  }
  const double cpuEnd = CpuMilliseconds(process.hProcess);
  const unsigned long residentEnd = ResidentKib(process.hProcess);

  std::printf("startup_ms=%.1f cpu_ms=%.1f rss_start_kib=%lu rss_end_kib=%lu\n", startupMs, cpuEnd - cpuStart,
              residentStart, residentEnd);
  std::fflush(stdout);
  PostMessageW(search.found, WM_CLOSE, 0, 0);
  WaitForSingleObject(process.hProcess, 5000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return startupMs < 0 ? 1 : 0;
}
