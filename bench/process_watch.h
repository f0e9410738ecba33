// What the process benchmarks share: starting a program and waiting for its window, closing it,
// a target window of the bench's own for Perchling to perch on, and the CPU time and memory of
// other processes read from /proc through Wine's drive Z: (Wine reports next to nothing for them).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "base/program_state.h"

const DWORD kWindowTimeoutMs = 20000;

double Min(const std::vector<double>& values);

// A visible top-level window of the class, of process pid (0: any) but not of excludePid (0: none);
// a Perchling window must also have its shape. NULL if there is none.
HWND FindWindowOf(const char* className, DWORD pid, DWORD excludePid);
// Polls every millisecond until the window is there; NULL after timeoutMs.
HWND WaitForWindow(const char* className, DWORD pid, DWORD excludePid,
                   DWORD timeoutMs = kWindowTimeoutMs);
// Runs the thread's own messages (the target window's) for the given time.
void PumpFor(DWORD milliseconds);

struct Started {
  HANDLE process;
  DWORD pid;
  HWND window;
  double ms;           // from just before the call to the window being visible; -1 if it never was
  double callMs;       // how long the call that started it took
  double sinceBornMs;  // from the process's creation (as Wine stamps it) to the window visible
};

// Starts exe in its own folder and waits up to timeoutMs for its window.
Started Start(const std::string& exe, const char* className, DWORD timeoutMs = kWindowTimeoutMs);
// The same with ShellExecuteA ("open", no parameters, the folder as working directory), as
// Perchling's skin switch starts its new copy.
Started StartByShell(const std::string& exe, const char* className,
                     DWORD timeoutMs = kWindowTimeoutMs);

// Milliseconds of the system clock, which Wine stamps a process's creation and exit with.
double SystemNowMs();
// When the process was created, and when it ended (-1 while it runs), in SystemNowMs's clock.
double ProcessBornMs(HANDLE process);
double ProcessEndedMs(HANDLE process);
// Closes the window as the close keystroke would and waits for the process to end (terminates it
// if it does not end within ten seconds).
void Stop(Started* started);
// Writes the skin Perchling in installDir will start with.
void ChooseSkin(const std::string& installDir, const char* skin);

// The Unix process that runs exe (Wine shows a program's Windows command line as the Unix one);
// 0 if there is none.
int UnixPidOf(const std::string& exe);
// CPU time (user and system) of a Unix process in clock ticks from /proc/PID/stat; -1 if unknown.
long long UnixCpuTicks(int unixPid);
// CPU time of a Unix process's live threads in milliseconds, to the nanosecond, from the
// scheduler's statistics (/proc/PID/task/*/schedstat); -1 if unknown.
double UnixCpuMs(int unixPid);
// VmRSS of a Unix process in KB; -1 if unknown.
double UnixRssKb(int unixPid);
// The process's working set in KB as Windows reports it (Wine takes it from the Unix process).
double WorkingSetKb(HANDLE process);

// Shows a plain window of the bench's own at (x, y), 600 x 400, and puts it in front.
HWND ShowTarget(int x = 300, int y = 300);
// Makes window the foreground window and keeps it so for a second. Under Wine a window shown by
// another program takes the X focus a moment later, and the focus leaving a Wine window makes the
// desktop the foreground window: so this tries again until the foreground stays put.
void BringToFront(HWND window);
// True if Perchling's window (width x height) sits on its perch on target.
bool IsPerched(HWND accessory, HWND target);
