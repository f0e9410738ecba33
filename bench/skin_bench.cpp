// What a skin's detail costs Perchling.exe under Wine, watched from outside, for the shipped skins
// and magenta checkerboards (one shape rectangle per two pixels, the worst case), each figure
// against a yardstick of the same run: start-up to the window visible and painted (against a plain
// window), idle CPU perched on a still window (against a timer that does nothing), CPU per tick
// when the window it perches on moves every tick (against the tick's period), and right-click to
// the menu shown (the 128 x 128 checkerboard against the default skin). Prints Markdown tables.
// Run by bench/run.sh under Wine:
//   skin_bench INSTALL_DIR WORK_DIR MINIMAL_WINDOW_EXE MINIMAL_TIMER_EXE STARTS IDLE_SECONDS
//              FOLLOW_SECONDS CLICKS [WINESERVER_PID XVFB_PID]
// INSTALL_DIR holds Perchling.exe and the shipped skins; WORK_DIR (both ending with a backslash)
// receives an install folder of its own for every skin, so that the copies running side by side
// can be told apart in /proc. CPU time comes from the scheduler's statistics, to the nanosecond.
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/follow.h"
#include "bench/process_watch.h"
#include "bench/timing.h"
#include "skinkit/skin_limits.h"
#include "tests/pictures/pictures.h"

namespace {

const char kMinimalWindowClass[] = "MinimalWindowClass";
const char kMinimalTimerClass[] = "MinimalTimerClass";
const char kMenuClass[] = "#32768";
const DWORD kGiveUpMs = 60000;     // a start-up not visible by then counts as never
const double kTickPeriodMs = kFollowPeriodMs;  // Perchling's follow timer
const int kFollowSizeLimit = 181;  // idle and right-click stop at this checkerboard
const int kCheckerSizes[] = {64, 90, 128, 150, 181, 221, 256, 300};

// The side of the largest checkerboard the skin kit passes without a warning: the most detail a
// skin maker is told is fine, whose hop cost the following table must show.
int WithinLimitsSide() {
  int side = 1;
  while (((side + 1) * (side + 1) + 1) / 2 < kSlowShapeRects) ++side;
  return side;
}

struct Skin {
  std::string label;  // for the tables
  std::string dir;    // its own install folder, ending with a backslash
  int checker;        // the checkerboard's side; 0 for a shipped skin
  int width, height;
  int rects;  // rectangles of the window's shape; 0 until measured
};

// Writes a 24-bit BMP of a size x size checkerboard whose odd pixels are magenta.
bool WriteCheckerboard(const std::string& path, int size) {
  std::string bytes = BmpBytes(Checkerboard(size, size));
  FILE* out = fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = fwrite(bytes.data(), bytes.size(), 1, out) == 1;
  return fclose(out) == 0 && ok;
}

// An install folder for one skin: Perchling.exe, skin\NAME.bmp and setting.ini choosing it.
Skin MakeInstall(const std::string& installDir, const std::string& workDir, int index,
                 const std::string& label, const std::string& picture, int checker) {
  Skin skin = {label, workDir + "skin" + std::to_string(index) + "\\", checker, 0, 0, 0};
  CreateDirectoryA(skin.dir.c_str(), NULL);
  CreateDirectoryA((skin.dir + "skin").c_str(), NULL);
  CopyFileA((installDir + "Perchling.exe").c_str(), (skin.dir + "Perchling.exe").c_str(), FALSE);
  std::string target = skin.dir + "skin\\bench.bmp";
  bool ok = checker ? WriteCheckerboard(target, checker)
                    : CopyFileA(picture.c_str(), target.c_str(), FALSE) != 0;
  if (!ok) fprintf(stderr, "cannot make %s\n", target.c_str());
  ChooseSkin(skin.dir, "bench");
  return skin;
}

// The shipped skins of installDir, then the checkerboards.
std::vector<Skin> MakeInstalls(const std::string& installDir, const std::string& workDir) {
  std::vector<Skin> skins;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((installDir + "skin\\*.bmp").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      skins.push_back(MakeInstall(installDir, workDir, static_cast<int>(skins.size()),
                                  found.cFileName, installDir + "skin\\" + found.cFileName, 0));
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  std::vector<int> sizes(kCheckerSizes, kCheckerSizes + sizeof kCheckerSizes / sizeof(int));
  if (std::find(sizes.begin(), sizes.end(), WithinLimitsSide()) == sizes.end()) {
    sizes.push_back(WithinLimitsSide());
    std::sort(sizes.begin(), sizes.end());
  }
  for (int size : sizes) {
    std::string label = "checkerboard " + std::to_string(size) + " x " + std::to_string(size);
    skins.push_back(
        MakeInstall(installDir, workDir, static_cast<int>(skins.size()), label, "", size));
  }
  return skins;
}

// The number of rectangles of a window's shape (0 if it has none), and its first, top-most one
// in window coordinates.
int ShapeRects(HWND window, RECT* first) {
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  int count = 0;
  if (GetWindowRgn(window, shape) != ERROR) {
    DWORD size = GetRegionData(shape, 0, NULL);
    std::vector<char> data(size);
    RGNDATA* rgn = reinterpret_cast<RGNDATA*>(data.data());
    if (size && GetRegionData(shape, size, rgn)) {
      count = static_cast<int>(rgn->rdh.nCount);
      if (count && first) *first = reinterpret_cast<RECT*>(rgn->Buffer)[0];
    }
  }
  DeleteObject(shape);
  return count;
}

// Polls every millisecond until done() holds; false after timeoutMs. The bench's own messages
// (its target window's) are served meanwhile.
template <typename Done>
bool PollUntil(Done done, DWORD timeoutMs) {
  double deadline = NowMs() + timeoutMs;
  while (!done()) {
    if (NowMs() > deadline) return done();
    MsgWaitForMultipleObjects(0, NULL, FALSE, 1, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  }
  return true;
}

bool IsLarge(const Skin& skin) { return skin.checker > kFollowSizeLimit; }

// A figure for a table; empty for none (a median of nothing is 0).
std::string Cell(double value, const char* format = "%.0f") {
  if (value <= 0) return "";
  char text[32];
  snprintf(text, sizeof text, format, value);
  return text;
}

// Start-up of each skin, alternating with the plain window; from the first size that Wine does not
// show within kGiveUpMs on, the larger ones are not tried.
void BenchStartUp(std::vector<Skin>* skins, const std::string& minimalExe, int runs) {
  printf(
      "\n| skin | size | shape rectangles | runs | visible (ms) | painted (ms) | plain window (ms) "
      "| visible / plain |\n|---|---:|---:|---:|---:|---:|---:|---:|\n");
  bool gaveUp = false;
  for (Skin& skin : *skins) {
    if (gaveUp) {
      skin.rects = -1;
      continue;
    }
    std::vector<double> visible, painted, plain;
    // The slow ones fewer times: a few seconds each at 181 x 181, many more beyond.
    int tries = skin.checker > kFollowSizeLimit    ? 1
                : skin.checker == kFollowSizeLimit ? (runs + 1) / 2
                                                   : runs;
    for (int i = 0; i < tries && !gaveUp; ++i) {
      Started perchling = Start(skin.dir + "Perchling.exe", ACCESSORY_CLASS, kGiveUpMs);
      if (!perchling.window) {
        gaveUp = true;
      } else {
        visible.push_back(perchling.ms);
        double t0 = NowMs() - perchling.ms;
        if (PollUntil([&] { return !GetUpdateRect(perchling.window, NULL, FALSE); }, kGiveUpMs))
          painted.push_back(NowMs() - t0);
        else
          gaveUp = true;  // shown, but its first paint never ends
        if (!skin.rects) {
          skin.rects = ShapeRects(perchling.window, NULL);
          RECT rect;
          GetWindowRect(perchling.window, &rect);
          skin.width = rect.right - rect.left;
          skin.height = rect.bottom - rect.top;
        }
      }
      Stop(&perchling);
      Started minimal = Start(minimalExe, kMinimalWindowClass);
      if (minimal.window) plain.push_back(minimal.ms);
      Stop(&minimal);
      Sleep(200);
    }
    if (gaveUp) {
      printf("| %s | %d x %d | %d | 1 | %s | not within %u s | %s | |\n", skin.label.c_str(),
             skin.checker, skin.checker, (skin.checker * skin.checker + 1) / 2,
             visible.empty() ? "not within 60 s" : Cell(visible[0]).c_str(),
             static_cast<unsigned>(kGiveUpMs / 1000), Cell(Median(plain)).c_str());
      skin.rects = -1;
      continue;
    }
    printf("| %s | %d x %d | %d | %u | %.0f | %s | %.0f | %.2f |\n", skin.label.c_str(), skin.width,
           skin.height, skin.rects, static_cast<unsigned>(visible.size()), Median(visible),
           Cell(Median(painted)).c_str(), Median(plain), Median(visible) / Median(plain));
  }
  if (gaveUp) printf("\nWhere Wine gave up, the larger checkerboards were not tried.\n");
  printf(
      "\nVisible: from just before CreateProcess to the window visible with its shape; painted: "
      "until its update region is empty as well (its first paint done). Medians; the plain "
      "window (`minimal_window.exe`) starts after each Perchling start.\n");
}

// Perchling with each skin that Wine showed (up to the largest followed), and the timer program,
// side by side on one still window.
void BenchIdle(const std::vector<Skin>& skins, const std::string& timerExe, int seconds,
               HWND target, int wineserverPid, int xvfbPid) {
  std::vector<Started> started;
  std::vector<const Skin*> which;
  std::vector<int> pids;
  Started timer = Start(timerExe, kMinimalTimerClass);
  int timerPid = UnixPidOf(timerExe);
  for (const Skin& skin : skins) {
    if (skin.rects < 0 || IsLarge(skin)) continue;
    started.push_back(Start(skin.dir + "Perchling.exe", ACCESSORY_CLASS));
    which.push_back(&skin);
    pids.push_back(UnixPidOf(skin.dir + "Perchling.exe"));
  }
  BringToFront(target);
  auto allPerched = [&] {
    return std::all_of(started.begin(), started.end(),
                       [&](const Started& s) { return IsPerched(s.window, target); });
  };
  bool perched = PollUntil(allPerched, 30000);
  PumpFor(2000);  // the last moves' paints
  std::vector<double> before(pids.size());
  for (size_t k = 0; k < pids.size(); ++k) before[k] = UnixCpuMs(pids[k]);
  double timerBefore = UnixCpuMs(timerPid), serverBefore = UnixCpuMs(wineserverPid),
         xBefore = UnixCpuMs(xvfbPid);
  PumpFor(seconds * 1000);
  double timerUsed = UnixCpuMs(timerPid) - timerBefore;
  double serverUsed = UnixCpuMs(wineserverPid) - serverBefore, xUsed = UnixCpuMs(xvfbPid) - xBefore;
  std::vector<double> used(pids.size());
  for (size_t k = 0; k < pids.size(); ++k) used[k] = UnixCpuMs(pids[k]) - before[k];
  bool stayed = GetForegroundWindow() == target && allPerched();
  for (Started& s : started) Stop(&s);
  Stop(&timer);

  printf(
      "\n%u copies of Perchling, one per skin, and the timer program ran side by side for %d s, "
      "perched on one window of the bench's that %s; %s.\n\n",
      static_cast<unsigned>(started.size()), seconds,
      stayed ? "stayed in front and still to the end" : "did NOT stay in front to the end",
      perched ? "every copy was perched before the count began" : "NOT every copy had perched");
  printf(
      "| program | shape rectangles | CPU in %d s (ms) | CPU share | / timer program |\n"
      "|---|---:|---:|---:|---:|\n",
      seconds);
  printf("| minimal 100 ms timer (yardstick) | | %.0f | %.2f %% | 1 |\n", timerUsed,
         timerUsed / (seconds * 10.0));
  for (size_t k = 0; k < used.size(); ++k)
    printf("| Perchling, %s | %d | %.0f | %.2f %% | **%.2f** |\n", which[k]->label.c_str(),
           which[k]->rects, used[k], used[k] / (seconds * 10.0),
           timerUsed > 0 ? used[k] / timerUsed : 0.0);
  printf("\nMeanwhile wineserver used %.0f ms and Xvfb %.0f ms for all of them together.\n",
         serverUsed, xUsed);
}

// Fits cost = a + b * n * n over the checkerboards (least squares on n squared) and says where the
// cost reaches the tick's period.
void PrintQuadraticFit(const char* what, const std::vector<double>& squares,
                       const std::vector<double>& costs) {
  size_t n = squares.size();
  if (n < 2) return;
  double sx = 0, sy = 0, sxx = 0, sxy = 0;
  for (size_t i = 0; i < n; ++i) {
    sx += squares[i];
    sy += costs[i];
    sxx += squares[i] * squares[i];
    sxy += squares[i] * costs[i];
  }
  double b = (n * sxy - sx * sy) / (n * sxx - sx * sx), a = (sy - b * sx) / n;
  double reached = b > 0 && a < kTickPeriodMs ? sqrt((kTickPeriodMs - a) / b) : 0.0;
  double largest = sqrt(*std::max_element(squares.begin(), squares.end()));
  printf(
      "\n%s per moving tick, fitted over the checkerboards: %.2f ms + %.3g ms x rectangles "
      "squared; ",
      what, a, b);
  if (reached > 0 && reached <= largest)
    printf("it reaches the tick's period of %.0f ms at about **%.0f rectangles**.\n", kTickPeriodMs,
           reached);
  else
    printf(
        "it stays below the tick's period of %.0f ms up to the largest checkerboard measured "
        "(**%.0f rectangles**).\n",
        kTickPeriodMs, largest);
}

// Perchling alone with each skin that Wine showed, following the target while the bench moves it
// by a pixel as soon as the accessory has arrived, so that every tick has a move to make.
void BenchFollowing(const std::vector<Skin>& skins, int seconds, HWND target, int wineserverPid,
                    int xvfbPid) {
  printf(
      "\n| skin | shape rectangles | moves | Perchling CPU per moving tick (ms) | wineserver (ms) "
      "| Xvfb (ms) | time per move (ms) | Perchling CPU / tick period |\n"
      "|---|---:|---:|---:|---:|---:|---:|---:|\n");
  std::vector<double> fitX, fitOwn, fitAll;  // checkerboards: rectangles squared, CPU per tick
  std::string withinLimits = "not measured";
  for (const Skin& skin : skins) {
    if (skin.rects < 0) continue;
    Started perchling = Start(skin.dir + "Perchling.exe", ACCESSORY_CLASS);
    int pid = UnixPidOf(skin.dir + "Perchling.exe");
    BringToFront(target);
    RECT home;
    GetWindowRect(target, &home);
    if (!PollUntil([&] { return IsPerched(perchling.window, target); }, 30000)) {
      printf("| %s | %d | did not perch | | | | | |\n", skin.label.c_str(), skin.rects);
      Stop(&perchling);
      continue;
    }
    PumpFor(500);
    std::vector<double> own, server, x, wall;
    double last[3] = {UnixCpuMs(pid), UnixCpuMs(wineserverPid), UnixCpuMs(xvfbPid)};
    double lastTime = NowMs(), end = NowMs() + seconds * 1000.0;
    bool lost = false;
    for (int move = 0; move < 200 && (NowMs() < end || move < 5); ++move) {
      MoveWindow(target, home.left + (move % 2 ? 0 : 1), home.top, home.right - home.left,
                 home.bottom - home.top, TRUE);
      if (!PollUntil([&] { return IsPerched(perchling.window, target); }, 20000)) {
        lost = true;
        break;
      }
      const double now[3] = {UnixCpuMs(pid), UnixCpuMs(wineserverPid), UnixCpuMs(xvfbPid)};
      double time = NowMs();
      own.push_back(now[0] - last[0]);
      server.push_back(now[1] - last[1]);
      x.push_back(now[2] - last[2]);
      wall.push_back(time - lastTime);
      for (int k = 0; k < 3; ++k) last[k] = now[k];
      lastTime = time;
    }
    bool front = GetForegroundWindow() == target;
    MoveWindow(target, home.left, home.top, home.right - home.left, home.bottom - home.top, TRUE);
    Stop(&perchling);
    double cost = Median(own);
    printf("| %s | %d | %u%s | %.2f | %.2f | %.2f | %.0f | %.2f |\n", skin.label.c_str(),
           skin.rects, static_cast<unsigned>(own.size()),
           lost ? " (then lost)" : (front ? "" : " (target lost the front)"), cost, Median(server),
           Median(x), Median(wall), cost / kTickPeriodMs);
    if (skin.checker == WithinLimitsSide()) {
      char text[160];
      snprintf(text, sizeof text,
               "%.2f ms of Perchling's CPU, %.2f ms of all three processes' together, %.0f ms "
               "per move%s",
               cost, cost + Median(server) + Median(x), Median(wall), lost ? " (then lost)" : "");
      withinLimits = text;
    }
    if (skin.checker && !lost) {
      fitX.push_back(static_cast<double>(skin.rects) * skin.rects);
      fitOwn.push_back(cost);
      fitAll.push_back(cost + Median(server) + Median(x));
    }
  }
  printf(
      "\nMedians over the moves; wineserver and Xvfb are charged for everything they did "
      "meanwhile.\n");
  printf(
      "\nA hop of the largest skin the kit passes without a warning (checkerboard %d x %d, %d "
      "rectangles, the limit being %d): **%s**.\n",
      WithinLimitsSide(), WithinLimitsSide(), (WithinLimitsSide() * WithinLimitsSide() + 1) / 2,
      int(kSlowShapeRects), withinLimits.c_str());
  PrintQuadraticFit("Perchling's own CPU", fitX, fitOwn);
  PrintQuadraticFit("Perchling's, wineserver's and Xvfb's CPU together", fitX, fitAll);
}

// Right-clicks the picture's top-most pixel and times until Perchling's menu is visible; then
// closes the menu again. The default skin's figure is the yardstick.
double TimeRightClickToMenu(const Started& perchling, HWND target) {
  RECT first = {}, window;
  ShapeRects(perchling.window, &first);
  GetWindowRect(perchling.window, &window);
  SetCursorPos(window.left + first.left, window.top + first.top);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  double t0 = NowMs();
  SendInput(2, clicks, sizeof(INPUT));
  HWND menu = NULL;
  bool shown = PollUntil(
      [&] {
        menu = FindWindowOf(kMenuClass, perchling.pid, 0);
        return menu != NULL;
      },
      20000);
  double ms = NowMs() - t0;
  // Ends the menu as the platform's default handling of WM_CANCELMODE does for the menu's owner.
  PostMessageA(perchling.window, WM_CANCELMODE, 0, 0);
  if (!PollUntil([&] { return !FindWindowOf(kMenuClass, perchling.pid, 0); }, 20000))
    fprintf(stderr, "the menu did not close\n");
  if (GetForegroundWindow() != target) BringToFront(target);
  PollUntil([&] { return IsPerched(perchling.window, target); }, 20000);
  PumpFor(300);
  return shown ? ms : -1;
}

void BenchRightClick(const std::vector<Skin>& skins, int clicks, HWND target) {
  const Skin* pair[2] = {NULL, NULL};  // the default skin, the 128 x 128 checkerboard
  for (const Skin& skin : skins) {
    if (skin.label == "default.bmp") pair[0] = &skin;
    if (skin.checker == 128 && skin.rects > 0) pair[1] = &skin;
  }
  if (!pair[0] || !pair[1]) return;
  std::vector<double> times[2];
  for (int k = 0; k < 2; ++k) {
    Started perchling = Start(pair[k]->dir + "Perchling.exe", ACCESSORY_CLASS);
    BringToFront(target);
    PollUntil([&] { return IsPerched(perchling.window, target); }, 30000);
    PumpFor(1000);
    for (int i = 0; i < clicks; ++i) {
      double ms = TimeRightClickToMenu(perchling, target);
      if (ms >= 0) times[k].push_back(ms);
    }
    Stop(&perchling);
  }
  printf(
      "\n| skin | shape rectangles | clicks | menu shown after (ms, median) | slowest (ms) |\n"
      "|---|---:|---:|---:|---:|\n");
  for (int k = 0; k < 2; ++k) {
    double slowest = times[k].empty() ? 0 : *std::max_element(times[k].begin(), times[k].end());
    printf("| %s | %d | %u of %d | %.0f | %.0f |\n", pair[k]->label.c_str(), pair[k]->rects,
           static_cast<unsigned>(times[k].size()), clicks, Median(times[k]), slowest);
  }
  printf(
      "\nFrom the right button's press (SendInput on the picture's top-most pixel) to Perchling's "
      "menu visible, perched on a still window: checkerboard / default skin **%.2f** (target: "
      "under 1 s with the checkerboard).\n",
      Median(times[0]) > 0 ? Median(times[1]) / Median(times[0]) : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  if (argc < 9) {
    fprintf(stderr,
            "usage: skin_bench INSTALL_DIR WORK_DIR MINIMAL_WINDOW_EXE MINIMAL_TIMER_EXE STARTS "
            "IDLE_SECONDS FOLLOW_SECONDS CLICKS [WINESERVER_PID XVFB_PID]\n");
    return 2;
  }
  std::string installDir = argv[1], workDir = argv[2];
  int starts = atoi(argv[5]), idleSeconds = atoi(argv[6]), followSeconds = atoi(argv[7]);
  int clicks = atoi(argv[8]);
  int wineserverPid = argc > 9 ? atoi(argv[9]) : 0, xvfbPid = argc > 10 ? atoi(argv[10]) : 0;
  std::vector<Skin> skins = MakeInstalls(installDir, workDir);

  printf("\n### Start-up with detailed skins\n");
  BenchStartUp(&skins, argv[3], starts);
  HWND target = ShowTarget();
  printf("\n### Idle cost by skin: perched on a still window\n");
  BenchIdle(skins, argv[4], idleSeconds, target, wineserverPid, xvfbPid);
  printf("\n### Following a window that moves every tick\n");
  BenchFollowing(skins, followSeconds, target, wineserverPid, xvfbPid);
  printf("\n### Right-click to the menu\n");
  BenchRightClick(skins, clicks, target);
  DestroyWindow(target);
  return 0;
}
