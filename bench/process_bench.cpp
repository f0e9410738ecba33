// Times Perchling.exe from outside, as the user meets it, against minimal Win32 programs in the
// same run: start-up to the shaped window being visible, the skin switch to the new copy's window
// (each against a start-up just before it, split into phases), the relaunch call by ShellExecuteA
// against CreateProcessA, and the CPU time and working set of 60 s of following. Prints Markdown
// tables. Run by
// bench/run.sh under Wine:
//   process_bench INSTALL_DIR MINIMAL_WINDOW_EXE MINIMAL_TIMER_EXE STARTS SWITCHES IDLE_SECONDS
//                 CLOCK_TICKS [WINESERVER_PID XVFB_PID]
// INSTALL_DIR (ending with a backslash) holds Perchling.exe and at least two skins. CPU time is
// read from /proc through Wine's drive Z: (CLOCK_TICKS a second); the optional Unix process ids let
// the idle run also charge the Wine server and the X server.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/process_watch.h"
#include "bench/timing.h"

namespace {

const char kMinimalWindowClass[] = "MinimalWindowClass";
const char kMinimalTimerClass[] = "MinimalTimerClass";
const WPARAM kFirstSkinCommand = 101;  // the catalogue's first skin; the second is 102

void ChooseDefaultSkin(const std::string& installDir) { ChooseSkin(installDir, "default"); }

// Start-up of Perchling and of the minimal program, alternating so that both see the same noise;
// each pair of neighbouring runs also gives a ratio of its own.
void BenchStartUp(const std::string& installDir, const std::string& minimalExe, int runs) {
  std::string perchlingExe = installDir + "Perchling.exe";
  std::vector<double> perchling, minimal, pairRatios;
  for (int i = -1; i < runs; ++i) {  // run -1 warms up both and is not counted
    double ms[2] = {-1, -1};         // Perchling, minimal
    for (int which = 0; which < 2; ++which) {
      int k = (which == 0) == (i % 2 == 0) ? 0 : 1;
      if (k == 0) ChooseDefaultSkin(installDir);
      Started started =
          k == 0 ? Start(perchlingExe, ACCESSORY_CLASS) : Start(minimalExe, kMinimalWindowClass);
      ms[k] = started.ms;
      Stop(&started);
      Sleep(200);
    }
    if (i < 0 || ms[0] < 0 || ms[1] < 0) continue;
    perchling.push_back(ms[0]);
    minimal.push_back(ms[1]);
    pairRatios.push_back(ms[0] / ms[1]);
  }
  printf("\n| program | runs | median (ms) | fastest (ms) |\n|---|---:|---:|---:|\n");
  printf("| minimal window (yardstick) | %u | %.0f | %.0f |\n",
         static_cast<unsigned>(minimal.size()), Median(minimal), Min(minimal));
  printf("| Perchling.exe | %u | %.0f | %.0f |\n", static_cast<unsigned>(perchling.size()),
         Median(perchling), Min(perchling));
  printf(
      "\nPerchling / minimal (target: at most 1.2): **%.2f** by medians, **%.2f** as the median "
      "of the %u pairs of neighbouring runs, %.2f fastest against fastest.\n",
      Median(perchling) / Median(minimal), Median(pairRatios),
      static_cast<unsigned>(pairRatios.size()), Min(perchling) / Min(minimal));
}

// One row of a table of phases: runs, median and fastest.
void PrintPhase(const char* what, const std::vector<double>& ms) {
  printf("| %s | %u | %.0f | %.0f |\n", what, static_cast<unsigned>(ms.size()), Median(ms),
         Min(ms));
}

// Skin switches, each paired with a plain start-up just before it so that both see the same
// noise: a round starts Perchling with the skin saved last, then chooses the other of the first
// two skins in it (from posting the skin command to the old window until the new copy's shaped
// window is visible), then closes the new copy. Where the switch's time goes comes from the
// creation and exit times Wine stamps on the two processes.
void BenchSkinSwitch(const std::string& installDir, int runs) {
  std::string exe = installDir + "Perchling.exe";
  ChooseDefaultSkin(installDir);
  std::vector<double> switches, starts, pairRatios, toBorn, bornToWindow, toOldEnded, startBorn;
  int widths[2] = {0, 0};
  for (int i = -1; i < runs; ++i) {  // round -1 warms up and is not counted
    Started current = Start(exe, ACCESSORY_CLASS);
    if (!current.window) break;
    Sleep(300);
    WPARAM command = kFirstSkinCommand + (i + 1) % 2;  // default to the second skin, and back
    double t0 = NowMs(), t0System = SystemNowMs();
    PostMessageA(current.window, WM_COMMAND, command, 0);
    HWND next = WaitForWindow(ACCESSORY_CLASS, 0, current.pid);
    double switchMs = NowMs() - t0, shownSystem = SystemNowMs();
    // The old copy leaves its message loop by itself.
    WaitForSingleObject(current.process, 10000);
    double oldEnded = ProcessEndedMs(current.process);
    CloseHandle(current.process);
    if (!next) {
      fprintf(stderr, "no new window after skin command %u\n", static_cast<unsigned>(command));
      break;
    }
    RECT rect;
    GetWindowRect(next, &rect);
    widths[(i + 1) % 2] = rect.right - rect.left;
    Started fresh = {NULL, 0, next, switchMs, -1, -1};
    GetWindowThreadProcessId(next, &fresh.pid);
    fresh.process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                FALSE, fresh.pid);
    double born = ProcessBornMs(fresh.process);
    Stop(&fresh);
    Sleep(200);
    if (i < 0) continue;
    switches.push_back(switchMs);
    starts.push_back(current.ms);
    pairRatios.push_back(switchMs / current.ms);
    toBorn.push_back(born - t0System);
    bornToWindow.push_back(shownSystem - born);
    toOldEnded.push_back(oldEnded - t0System);
    startBorn.push_back(current.sinceBornMs);
  }
  ChooseDefaultSkin(installDir);
  printf("\n| what | runs | median (ms) | fastest (ms) |\n|---|---:|---:|---:|\n");
  PrintPhase("skin switch (command to new window)", switches);
  PrintPhase("start-up of Perchling.exe just before it (process start to window)", starts);
  printf(
      "\nswitch / start-up (target: at most 1.5): **%.2f** by medians, **%.2f** as the median of "
      "the %u pairs; the new windows were %d and %d pixels wide, so the skin did change.\n",
      Median(switches) / Median(starts), Median(pairRatios),
      static_cast<unsigned>(pairRatios.size()), widths[0], widths[1]);

  printf("\n| phase | runs | median (ms) | fastest (ms) |\n|---|---:|---:|---:|\n");
  PrintPhase("switch: command to the new process's creation (the old copy's part)", toBorn);
  PrintPhase("switch: the new process's creation to its window visible", bornToWindow);
  PrintPhase("switch: command to the old process's exit", toOldEnded);
  PrintPhase("start-up: the process's creation to its window visible", startBorn);
}

// The relaunch call on its own, from the bench (no old copy in the way): ShellExecuteA, as the
// skin switch calls it, alternating with CreateProcessA; how long the call takes, and from the
// new process's creation to its window.
void BenchRelaunchCall(const std::string& installDir, int runs) {
  std::string exe = installDir + "Perchling.exe";
  std::vector<double> call[2], sinceBorn[2], whole[2];  // ShellExecuteA, CreateProcessA
  ChooseDefaultSkin(installDir);
  for (int i = -1; i < runs; ++i) {  // run -1 warms up both and is not counted
    for (int which = 0; which < 2; ++which) {
      int k = (which == 0) == (i % 2 == 0) ? 0 : 1;
      Started started = k == 0 ? StartByShell(exe, ACCESSORY_CLASS) : Start(exe, ACCESSORY_CLASS);
      if (i >= 0 && started.window) {
        call[k].push_back(started.callMs);
        sinceBorn[k].push_back(started.sinceBornMs);
        whole[k].push_back(started.ms);
      }
      Stop(&started);
      Sleep(200);
    }
  }
  const char* names[2] = {"ShellExecuteA", "CreateProcessA"};
  printf(
      "\n| started by | runs | the call (ms) | creation to window (ms) | call to window (ms) |\n"
      "|---|---:|---:|---:|---:|\n");
  for (int k = 0; k < 2; ++k)
    printf("| %s | %u | %.0f | %.0f | %.0f |\n", names[k], static_cast<unsigned>(call[k].size()),
           Median(call[k]), Median(sinceBorn[k]), Median(whole[k]));
}

struct IdleSample {
  long long cpuTicks[2];     // Perchling, the minimal timer program
  double workingKb[2];       // as GetProcessMemoryInfo reports it
  double rssKb[2];           // VmRSS of the Unix process
  long long serverTicks[2];  // wineserver, Xvfb
};

struct IdleRun {
  Started programs[2];
  int unixPids[2];
  int serverPids[2];
};

void Sample(const IdleRun& run, IdleSample* s) {
  for (int k = 0; k < 2; ++k) {
    s->cpuTicks[k] = UnixCpuTicks(run.unixPids[k]);
    s->workingKb[k] = run.programs[k].process ? WorkingSetKb(run.programs[k].process) : -1;
    s->rssKb[k] = UnixRssKb(run.unixPids[k]);
    s->serverTicks[k] = UnixCpuTicks(run.serverPids[k]);
  }
}

const char* const kIdleNames[2] = {"Perchling.exe (following)", "minimal 100 ms timer (yardstick)"};

// Starts the programs chosen (Perchling, the timer program) and puts the target in front.
void StartIdle(IdleRun* run, bool which[2], const std::string& installDir,
               const std::string& timerExe, HWND target) {
  std::string exes[2] = {installDir + "Perchling.exe", timerExe};
  const char* classes[2] = {ACCESSORY_CLASS, kMinimalTimerClass};
  ChooseDefaultSkin(installDir);
  for (int k = 0; k < 2; ++k) {
    Started none = {NULL, 0, NULL, -1, -1, -1};
    run->programs[k] = which[k] ? Start(exes[k], classes[k]) : none;
    run->unixPids[k] = which[k] ? UnixPidOf(exes[k]) : 0;
  }
  BringToFront(target);  // Perchling's window took the foreground when it was shown
}

double TicksMs(long long ticks, int clockTicks) { return ticks * 1000.0 / clockTicks; }

// CPU time and working set over seconds of following, against the minimal timer program run at
// the same time; then the Wine and X servers' share with each program alone.
void BenchIdle(const std::string& installDir, const std::string& timerExe, int seconds,
               int clockTicks, int wineserverPid, int xvfbPid) {
  HWND target = ShowTarget();
  IdleRun run = {};
  run.serverPids[0] = wineserverPid;
  run.serverPids[1] = xvfbPid;
  bool both[2] = {true, true};
  StartIdle(&run, both, installDir, timerExe, target);
  bool following = IsPerched(run.programs[0].window, target);

  IdleSample start, middle, end;
  Sample(run, &start);
  PumpFor(seconds * 500);
  Sample(run, &middle);
  PumpFor(seconds * 500);
  Sample(run, &end);
  bool stayed = GetForegroundWindow() == target;
  for (int k = 0; k < 2; ++k) Stop(&run.programs[k]);

  printf(
      "\nBoth programs ran side by side for %d s; Perchling %s the target window, which %s in "
      "the foreground to the end. CPU is user + system time of the Wine process (from /proc, "
      "in %d ms ticks); working set as GetProcessMemoryInfo reports it, VmRSS in brackets.\n\n",
      seconds, following ? "perched on" : "did NOT perch on", stayed ? "stayed" : "did NOT stay",
      1000 / clockTicks);
  printf(
      "| program | CPU in %d s (ms) | CPU share | working set at start (KB) | after %d s (KB) "
      "| after %d s (KB) |\n|---|---:|---:|---:|---:|---:|\n",
      seconds, seconds / 2, seconds);
  double used[2];
  for (int k = 0; k < 2; ++k) {
    used[k] = TicksMs(end.cpuTicks[k] - start.cpuTicks[k], clockTicks);
    printf("| %s | %.0f | %.2f %% | %.0f (%.0f) | %.0f (%.0f) | %.0f (%.0f) |\n", kIdleNames[k],
           used[k], used[k] / (seconds * 10.0), start.workingKb[k], start.rssKb[k],
           middle.workingKb[k], middle.rssKb[k], end.workingKb[k], end.rssKb[k]);
  }
  printf("\nPerchling / minimal timer CPU: **%.2f** (target: at most 1.5)\n",
         used[1] > 0 ? used[0] / used[1] : 0.0);
  if (wineserverPid <= 0 || xvfbPid <= 0) {
    DestroyWindow(target);
    return;
  }

  // Above, the servers serve both programs at once; here each program runs alone.
  int aloneSeconds = seconds / 3;
  printf(
      "\n| running alone for %d s | CPU of the program (ms) | wineserver (ms) | Xvfb (ms) |\n"
      "|---|---:|---:|---:|\n",
      aloneSeconds);
  for (int k = -1; k < 2; ++k) {
    bool which[2] = {k == 0, k == 1};
    IdleRun alone = {};
    alone.serverPids[0] = wineserverPid;
    alone.serverPids[1] = xvfbPid;
    StartIdle(&alone, which, installDir, timerExe, target);
    IdleSample before, after;
    Sample(alone, &before);
    PumpFor(aloneSeconds * 1000);
    Sample(alone, &after);
    for (int j = 0; j < 2; ++j) Stop(&alone.programs[j]);
    double program = k < 0 ? 0 : TicksMs(after.cpuTicks[k] - before.cpuTicks[k], clockTicks);
    printf("| %s | %.0f | %.0f | %.0f |\n",
           k < 0 ? "nothing but the bench's own target window" : kIdleNames[k], program,
           TicksMs(after.serverTicks[0] - before.serverTicks[0], clockTicks),
           TicksMs(after.serverTicks[1] - before.serverTicks[1], clockTicks));
  }
  DestroyWindow(target);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  if (argc < 8) {
    fprintf(stderr,
            "usage: process_bench INSTALL_DIR MINIMAL_WINDOW_EXE MINIMAL_TIMER_EXE STARTS "
            "SWITCHES IDLE_SECONDS CLOCK_TICKS [WINESERVER_PID XVFB_PID]\n");
    return 2;
  }
  std::string installDir = argv[1];
  int starts = atoi(argv[4]), switches = atoi(argv[5]), idleSeconds = atoi(argv[6]);
  int clockTicks = atoi(argv[7]);
  int wineserverPid = argc > 8 ? atoi(argv[8]) : 0, xvfbPid = argc > 9 ? atoi(argv[9]) : 0;

  printf("\n### Start-up: process start to the window visible\n");
  if (starts > 0) BenchStartUp(installDir, argv[2], starts);
  if (switches > 0) {
    printf("\n### Skin switch: skin command to the new copy's window visible\n");
    BenchSkinSwitch(installDir, switches);
    printf("\n### The relaunch call alone, from the bench: medians\n");
    BenchRelaunchCall(installDir, switches);
  }
  if (idleSeconds > 0) {
    printf("\n### Idle cost: %d s of following\n", idleSeconds);
    BenchIdle(installDir, argv[3], idleSeconds, clockTicks > 0 ? clockTicks : 100, wineserverPid,
              xvfbPid);
  }
  return 0;
}
