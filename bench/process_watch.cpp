// What the process benchmarks share: programs started and watched from outside, a target window,
// and other processes' CPU time and memory from /proc.
#include "bench/process_watch.h"

// psapi.h needs the types of windows.h first.
#include <psapi.h>
#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "base/follow.h"
#include "base/program_state.h"
#include "base/settings.h"
#include "bench/timing.h"

double Min(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

namespace {

// What FindWindowOf looks for.
struct WindowSearch {
  const char* className;
  DWORD pid;         // 0: any process
  DWORD excludePid;  // 0: none excluded
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
  char name[64];
  if (!GetClassNameA(window, name, sizeof name) || lstrcmpA(name, search->className) != 0)
    return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if ((search->pid && pid != search->pid) || (search->excludePid && pid == search->excludePid))
    return TRUE;
  if (!IsWindowVisible(window)) return TRUE;
  if (lstrcmpA(search->className, ACCESSORY_CLASS) == 0) {
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(window, shape);
    DeleteObject(shape);
    if (kind == ERROR) return TRUE;
  }
  search->found = window;
  return FALSE;
}

std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of('\\');
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Reads a small file of /proc through drive Z: into text; false if it cannot be read.
bool ReadProcFile(const std::string& path, char* text, size_t size) {
  FILE* file = fopen(path.c_str(), "rb");
  if (!file) return false;
  size_t length = fread(text, 1, size - 1, file);
  fclose(file);
  text[length] = 0;
  return length > 0;
}

std::string ProcPath(int unixPid, const char* name) {
  return "Z:\\proc\\" + std::to_string(unixPid) + "\\" + name;
}

}  // namespace

HWND FindWindowOf(const char* className, DWORD pid, DWORD excludePid) {
  WindowSearch search = {className, pid, excludePid, NULL};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(const char* className, DWORD pid, DWORD excludePid, DWORD timeoutMs) {
  double deadline = NowMs() + timeoutMs;
  for (;;) {
    HWND window = FindWindowOf(className, pid, excludePid);
    if (window || NowMs() > deadline) return window;
    Sleep(1);
  }
}

void PumpFor(DWORD milliseconds) {
  double end = NowMs() + milliseconds;
  for (double now = NowMs(); now < end; now = NowMs()) {
    MsgWaitForMultipleObjects(0, NULL, FALSE, static_cast<DWORD>(end - now) + 1, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
}

Started Start(const std::string& exe, const char* className, DWORD timeoutMs) {
  Started started = {NULL, 0, NULL, -1, -1, -1};
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  std::string commandLine = "\"" + exe + "\"";
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back(0);
  double t0 = NowMs();
  if (!CreateProcessA(exe.c_str(), line.data(), NULL, NULL, FALSE, 0, NULL, FolderOf(exe).c_str(),
                      &startup, &info)) {
    fprintf(stderr, "cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
    return started;
  }
  started.callMs = NowMs() - t0;
  CloseHandle(info.hThread);
  started.process = info.hProcess;
  started.pid = info.dwProcessId;
  started.window = WaitForWindow(className, info.dwProcessId, 0, timeoutMs);
  if (started.window) {
    started.ms = NowMs() - t0;
    started.sinceBornMs = SystemNowMs() - ProcessBornMs(started.process);
  }
  return started;
}

Started StartByShell(const std::string& exe, const char* className, DWORD timeoutMs) {
  Started started = {NULL, 0, NULL, -1, -1, -1};
  double t0 = NowMs();
  INT_PTR result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(NULL, "open", exe.c_str(), NULL, FolderOf(exe).c_str(), SW_SHOWNORMAL));
  started.callMs = NowMs() - t0;
  if (result <= 32) {
    fprintf(stderr, "ShellExecuteA cannot start %s (%d)\n", exe.c_str(), static_cast<int>(result));
    return started;
  }
  started.window = WaitForWindow(className, 0, 0, timeoutMs);
  if (!started.window) return started;
  started.ms = NowMs() - t0;
  double now = SystemNowMs();
  GetWindowThreadProcessId(started.window, &started.pid);
  started.process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                FALSE, started.pid);
  started.sinceBornMs = now - ProcessBornMs(started.process);
  return started;
}

static double FileTimeMs(const FILETIME& time) {
  return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32 | time.dwLowDateTime) / 1e4;
}

double SystemNowMs() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FileTimeMs(now);
}

double ProcessBornMs(HANDLE process) {
  FILETIME born, ended, kernel, user;
  return GetProcessTimes(process, &born, &ended, &kernel, &user) ? FileTimeMs(born) : -1;
}

double ProcessEndedMs(HANDLE process) {
  FILETIME born, ended, kernel, user;
  if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return -1;
  return GetProcessTimes(process, &born, &ended, &kernel, &user) ? FileTimeMs(ended) : -1;
}

void Stop(Started* started) {
  if (!started->process) return;
  if (started->window) PostMessageA(started->window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started->process, 10000) != WAIT_OBJECT_0) {
    fprintf(stderr, "process %lu did not end: terminated\n", started->pid);
    TerminateProcess(started->process, 1);
    WaitForSingleObject(started->process, 5000);
  }
  CloseHandle(started->process);
  started->process = NULL;
}

void ChooseSkin(const std::string& installDir, const char* skin) {
  WritePrivateProfileStringA(SETTINGS_SECTION, SETTINGS_KEY, skin,
                             (installDir + SETTINGS_FILE).c_str());
}

int UnixPidOf(const std::string& exe) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  std::string wanted = exe;
  CharUpperA(&wanted[0]);
  int result = 0;
  do {
    int pid = atoi(found.cFileName);
    char text[1024];
    if (pid <= 0 || !ReadProcFile(ProcPath(pid, "cmdline"), text, sizeof text)) continue;
    CharUpperA(text);
    if (strstr(text, wanted.c_str())) result = pid;
  } while (!result && FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

long long UnixCpuTicks(int unixPid) {
  char text[1024];
  if (unixPid <= 0 || !ReadProcFile(ProcPath(unixPid, "stat"), text, sizeof text)) return -1;
  const char* rest = strrchr(text, ')');  // the command name may hold spaces
  if (!rest) return -1;
  long long utime = 0, stime = 0;
  // After ") " come state, ppid, ... ; utime and stime are fields 14 and 15 of the line.
  if (sscanf(rest + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lld %lld", &utime, &stime) !=
      2)
    return -1;
  return utime + stime;
}

double UnixCpuMs(int unixPid) {
  if (unixPid <= 0) return -1;
  WIN32_FIND_DATAA found;
  std::string tasks = ProcPath(unixPid, "task") + "\\";
  HANDLE search = FindFirstFileA((tasks + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return -1;
  double ns = 0;
  bool any = false;
  do {
    char text[256];
    if (atoi(found.cFileName) <= 0) continue;
    if (!ReadProcFile(tasks + found.cFileName + "\\schedstat", text, sizeof text)) continue;
    ns += atof(text);  // the first field: nanoseconds on a CPU
    any = true;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return any ? ns / 1e6 : -1;
}

double UnixRssKb(int unixPid) {
  char text[4096];
  if (unixPid <= 0 || !ReadProcFile(ProcPath(unixPid, "status"), text, sizeof text)) return -1;
  const char* line = strstr(text, "VmRSS:");
  return line ? atof(line + 6) : -1;
}

double WorkingSetKb(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
  return counters.WorkingSetSize / 1024.0;
}

static LRESULT CALLBACK TargetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND ShowTarget(int x, int y) {
  WNDCLASSA target = {};
  target.lpfnWndProc = TargetProc;
  target.hInstance = GetModuleHandleA(NULL);
  target.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  target.lpszClassName = "BenchTarget";
  RegisterClassA(&target);  // fails harmlessly when the class is there already
  HWND window = CreateWindowExA(0, "BenchTarget", "Bench target", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                x, y, 600, 400, NULL, NULL, target.hInstance, NULL);
  BringToFront(window);
  return window;
}

void BringToFront(HWND window) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    SetForegroundWindow(window);
    PumpFor(1000);
    if (GetForegroundWindow() == window) return;
  }
  fprintf(stderr, "the target window does not stay in the foreground\n");
}

bool IsPerched(HWND accessory, HWND target) {
  RECT perch, under;
  if (!GetWindowRect(accessory, &perch) || !GetWindowRect(target, &under)) return false;
  return perch.right == under.right - kFollowInset && perch.bottom == under.top + kTitleOverlap;
}
