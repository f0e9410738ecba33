// What one hop of a shaped window costs, and whether the way it is moved changes that: a popup
// with Perchling's styles, a checkerboard picture as its class brush and the shape built from that
// picture by Perchling's builder (SetWindowRgn), moved by one pixel back and forth with each way
// the platform offers, against the same window without a shape and against the region calls the
// platform might make on the way. Prints Markdown tables. Run by bench/run.sh under Wine:
//   hop_bench MOVES SIDE... [-- WINESERVER_PID XVFB_PID]
// CPU time is the scheduler's count of this process's threads (and of the two servers), read
// from /proc through drive Z:.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

#include <string>
#include <vector>

#include "bench/process_watch.h"
#include "bench/timing.h"
#include "shape/region.h"

namespace {

const char kClass[] = "HopBenchClass";
const DWORD kStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU | WS_MINIMIZEBOX;  // Perchling's
const DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
const int kX = 200, kY = 150;

// This process's Unix pid: the one process named hop_bench.exe (/proc/self would be read by
// whichever process opens the file for Wine).
int OwnUnixPid() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int result = 0;
  do {
    int pid = atoi(found.cFileName);
    if (pid <= 0) continue;
    std::string path = std::string("Z:\\proc\\") + found.cFileName + "\\comm";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              0, NULL);
    if (file == INVALID_HANDLE_VALUE) continue;
    char text[64] = {};
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, NULL);
    CloseHandle(file);
    if (strncmp(text, "hop_bench.exe\n", 14) == 0) result = pid;
  } while (!result && FindNextFileA(search, &found));
  FindClose(search);
  return result;
}

// A size x size 24-bit picture whose odd pixels are magenta: one shape rectangle per two pixels.
HBITMAP Checkerboard(int size) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = NULL;
  HBITMAP picture = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  if (!picture) return NULL;
  DWORD* pixels = static_cast<DWORD*>(bits);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) pixels[y * size + x] = (x + y) % 2 ? 0xFF00FF : 0x40A0E0;
  return picture;
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

typedef void (*Mover)(HWND window, int x, int y, int size);

void MoveRepaint(HWND w, int x, int y, int size) { MoveWindow(w, x, y, size, size, TRUE); }
void MoveNoRepaint(HWND w, int x, int y, int size) { MoveWindow(w, x, y, size, size, FALSE); }
const UINT kPosFlags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
void PosPlain(HWND w, int x, int y, int) { SetWindowPos(w, NULL, x, y, 0, 0, kPosFlags); }
void PosNoCopyBits(HWND w, int x, int y, int) {
  SetWindowPos(w, NULL, x, y, 0, 0, kPosFlags | SWP_NOCOPYBITS);
}
void PosNoRedraw(HWND w, int x, int y, int) {
  SetWindowPos(w, NULL, x, y, 0, 0, kPosFlags | SWP_NOREDRAW);
}
void PosDeferErase(HWND w, int x, int y, int) {
  SetWindowPos(w, NULL, x, y, 0, 0, kPosFlags | SWP_DEFERERASE);
}
void PosNoSendChanging(HWND w, int x, int y, int) {
  SetWindowPos(w, NULL, x, y, 0, 0, kPosFlags | SWP_NOSENDCHANGING);
}
void PosAll(HWND w, int x, int y, int) {
  SetWindowPos(w, NULL, x, y, 0, 0,
               kPosFlags | SWP_NOOWNERZORDER | SWP_NOCOPYBITS | SWP_NOREDRAW | SWP_DEFERERASE |
                   SWP_NOSENDCHANGING);
}
void PosAsync(HWND w, int x, int y, int) {
  SetWindowPos(w, NULL, x, y, 0, 0, kPosFlags | SWP_ASYNCWINDOWPOS);
}
void Deferred(HWND w, int x, int y, int) {
  HDWP positions = BeginDeferWindowPos(1);
  if (positions) positions = DeferWindowPos(positions, w, NULL, x, y, 0, 0, kPosFlags);
  if (positions) EndDeferWindowPos(positions);
}

struct Way {
  const char* name;
  Mover move;
};
const Way kWays[] = {
    {"`MoveWindow(..., TRUE)` (Perchling's hop)", MoveRepaint},
    {"`MoveWindow(..., FALSE)`", MoveNoRepaint},
    {"`SetWindowPos` NOSIZE, NOZORDER, NOACTIVATE", PosPlain},
    {"... + SWP_NOCOPYBITS", PosNoCopyBits},
    {"... + SWP_NOREDRAW", PosNoRedraw},
    {"... + SWP_DEFERERASE", PosDeferErase},
    {"... + SWP_NOSENDCHANGING", PosNoSendChanging},
    {"... + all four and NOOWNERZORDER", PosAll},
    {"... + SWP_ASYNCWINDOWPOS", PosAsync},
    {"`BeginDeferWindowPos` / `DeferWindowPos` / `EndDeferWindowPos`", Deferred},
};

struct Cost {
  double own, server, x;  // CPU per hop, ms
};

struct Pids {
  int own, server, x;
};

// Median CPU per hop of `moves` hops of one pixel back and forth, each followed by the messages
// it brought; a few hops first, uncounted.
Cost TimeHops(HWND window, int size, Mover move, int moves, const Pids& pids) {
  for (int i = 0; i < 2; ++i) {
    move(window, kX + 1 - i, kY, size);
    Pump();
  }
  std::vector<double> own, server, x;
  for (int i = 0; i < moves; ++i) {
    double before[3] = {UnixCpuMs(pids.own), UnixCpuMs(pids.server), UnixCpuMs(pids.x)};
    move(window, kX + (i % 2 ? 0 : 1), kY, size);
    Pump();
    own.push_back(UnixCpuMs(pids.own) - before[0]);
    server.push_back(UnixCpuMs(pids.server) - before[1]);
    x.push_back(UnixCpuMs(pids.x) - before[2]);
  }
  Cost cost = {Median(own), Median(server), Median(x)};
  return cost;
}

// Median CPU of one call of the region work the platform may do for a hop, on the window's shape,
// or of a whole repaint (kind 4).
double TimeCall(int kind, HWND window, HRGN shape, int calls, int ownPid) {
  std::vector<double> times;
  DWORD size = GetRegionData(shape, 0, NULL);
  std::vector<char> data(size);
  GetRegionData(shape, size, reinterpret_cast<RGNDATA*>(data.data()));
  for (int i = 0; i < calls; ++i) {
    double before = UnixCpuMs(ownPid);
    HRGN made = NULL;
    if (kind == 0) {
      made = CreateRectRgn(0, 0, 0, 0);
      GetWindowRgn(window, made);
    } else if (kind == 1) {
      made = ExtCreateRegion(NULL, size, reinterpret_cast<RGNDATA*>(data.data()));
    } else if (kind == 2) {
      made = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(made, shape, NULL, RGN_COPY);
      OffsetRgn(made, 1, 0);
    } else if (kind == 3) {
      HDC dc = GetDC(window);
      ReleaseDC(window, dc);
    } else {
      InvalidateRect(window, NULL, TRUE);
      UpdateWindow(window);
    }
    times.push_back(UnixCpuMs(ownPid) - before);
    if (made) DeleteObject(made);
  }
  return Median(times);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

// A shaped (or, with shaped false, plain square) window of the checkerboard's size, shown and
// painted.
HWND OpenWindow(int size, bool shaped, HRGN* shapeCopy) {
  HBITMAP picture = Checkerboard(size);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(NULL);
  windowClass.hbrBackground = CreatePatternBrush(picture);
  windowClass.lpszClassName = kClass;
  UnregisterClassA(kClass, windowClass.hInstance);
  RegisterClassExA(&windowClass);
  HWND window = CreateWindowExA(kExStyle, kClass, "hop", kStyle, kX, kY, size, size, NULL, NULL,
                                windowClass.hInstance, NULL);
  if (shaped) {
    HRGN shape = CreateRegionFromBitmap(picture, 0xFF00FF);
    *shapeCopy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(*shapeCopy, shape, NULL, RGN_COPY);
    SetWindowRgn(window, shape, TRUE);
  }
  DeleteObject(picture);
  UpdateWindow(window);
  Pump();
  return window;
}

void CloseTestWindow(HWND window) {
  HBRUSH brush = reinterpret_cast<HBRUSH>(GetClassLongPtrA(window, GCLP_HBRBACKGROUND));
  DestroyWindow(window);
  Pump();
  UnregisterClassA(kClass, GetModuleHandleA(NULL));
  DeleteObject(brush);
}

}  // namespace

int main(int argc, char** argv) {
  setvbuf(stdout, NULL, _IONBF, 0);
  if (argc < 3) {
    fprintf(stderr, "usage: hop_bench MOVES SIDE... [-- WINESERVER_PID XVFB_PID]\n");
    return 2;
  }
  int moves = atoi(argv[1]);
  std::vector<int> sides;
  Pids pids = {OwnUnixPid(), 0, 0};
  for (int i = 2; i < argc; ++i) {
    if (strcmp(argv[i], "--") == 0) {
      if (i + 1 < argc) pids.server = atoi(argv[i + 1]);
      if (i + 2 < argc) pids.x = atoi(argv[i + 2]);
      break;
    }
    sides.push_back(atoi(argv[i]));
  }

  printf("\n| way of moving | ");
  for (int side : sides) printf("%d rects | ", (side * side + 1) / 2);
  printf("\n|---|");
  for (size_t i = 0; i < sides.size(); ++i) printf("---:|");
  printf("\n");
  std::vector<std::vector<Cost>> costs(sizeof kWays / sizeof kWays[0] + 1);
  std::vector<double> calls[5];
  for (int side : sides) {
    HRGN shape = NULL;
    HWND window = OpenWindow(side, true, &shape);
    for (size_t w = 0; w < sizeof kWays / sizeof kWays[0]; ++w)
      costs[w].push_back(TimeHops(window, side, kWays[w].move, moves, pids));
    for (int kind = 0; kind < 5; ++kind)
      calls[kind].push_back(TimeCall(kind, window, shape, moves, pids.own));
    CloseTestWindow(window);
    DeleteObject(shape);
    window = OpenWindow(side, false, &shape);
    costs.back().push_back(TimeHops(window, side, MoveRepaint, moves, pids));
    CloseTestWindow(window);
  }
  for (size_t w = 0; w < costs.size(); ++w) {
    printf("| %s | ", w < costs.size() - 1 ? kWays[w].name
                                          : "`MoveWindow(..., TRUE)`, the same window unshaped");
    for (const Cost& cost : costs[w]) printf("%.2f / %.2f / %.2f | ", cost.own, cost.server, cost.x);
    printf("\n");
  }
  const char* const kCallNames[] = {"`GetWindowRgn`", "`ExtCreateRegion` of the shape's data",
                                    "`CombineRgn` copy + `OffsetRgn`", "`GetDC` + `ReleaseDC`",
                                    "whole repaint (`InvalidateRect` + `UpdateWindow`)"};
  for (int kind = 0; kind < 5; ++kind) {
    printf("| one call: %s | ", kCallNames[kind]);
    for (double ms : calls[kind]) printf("%.2f | ", ms);
    printf("\n");
  }
  printf(
      "\nCPU per hop of one pixel (this program / wineserver / Xvfb, ms, medians of %d hops), "
      "then this program's CPU for one call of the region work a hop might do, and for a whole "
      "repaint (the background erase with the picture's brush, as Perchling paints). The unshaped "
      "window's row is the floor: reading the three CPU counts through drive Z: costs that much.\n",
      moves);
  return 0;
}
