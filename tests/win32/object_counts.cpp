// Counting live objects from outside the code under test.
//
// Wine keeps its GDI objects in a table of 65536 entries that PEB->GdiSharedHandleTable points to
// (offset 0xF8 of the 64-bit PEB). Each entry is 24 bytes: the object pointer (8), the owner (4),
// the handle's unique part (2), the object type (1), flags (1) and a user pointer (8). A live
// object has a nonzero type; a freed slot has type 0. The table is the process's own. Wine 8.0
// and Wine 10.0 lay it out alike (GdiCountWorks() checks it under each).
//
// Wine's USER handles are (index * 2 + 0x20) with a generation in the high word; a handle whose
// high word is 0 matches any generation, so IsMenu on every such value finds every live menu of
// the process exactly once.
//
// Wine's GetProcessHandleCount succeeds but always reports 0 handles; the kernel handles are then
// counted by asking GetHandleInformation about each handle value in turn.
#include "object_counts.h"

#include <gtest/gtest.h>
#include <stddef.h>

#include <algorithm>
#include <iterator>

namespace {

const int kGdiTableEntries = 0x10000;
const size_t kGdiEntrySize = 24;
const size_t kGdiTypeOffset = 14;
const size_t kPebGdiTableOffset = 0xF8;  // 64-bit PEB
const int kFirstUserHandle = 0x20;
const int kLastUserHandle = 0xFFEF;
const UINT_PTR kHandleValuesScanned = 0x4000;  // the first 4096 kernel handle values

// The PEB's address, from NtQueryInformationProcess (ProcessBasicInformation, class 0).
const unsigned char* ProcessEnvironmentBlock() {
  struct BasicInformation {
    LONG_PTR exitStatus;
    const unsigned char* peb;
    ULONG_PTR affinity, priority, processId, parentProcessId;
  } information = {};
  typedef LONG(WINAPI * QueryProcess)(HANDLE, int, void*, ULONG, ULONG*);
  QueryProcess query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  if (!query || query(GetCurrentProcess(), 0, &information, sizeof information, NULL) != 0)
    return nullptr;
  return information.peb;
}

const unsigned char* GdiTable() {
  if (sizeof(void*) != 8) return nullptr;  // the offsets above are those of 64-bit Windows
  const unsigned char* peb = ProcessEnvironmentBlock();
  return peb ? *reinterpret_cast<const unsigned char* const*>(peb + kPebGdiTableOffset) : nullptr;
}

BOOL CALLBACK CountWindow(HWND, LPARAM context) {
  ++*reinterpret_cast<int*>(context);
  return TRUE;
}

BOOL CALLBACK CountWindowAndChildren(HWND window, LPARAM context) {
  ++*reinterpret_cast<int*>(context);
  EnumChildWindows(window, CountWindow, context);
  return TRUE;
}

}  // namespace

int CountGdiObjects() {
  const unsigned char* table = GdiTable();
  if (!table) return -1;
  int live = 0;
  for (int i = 0; i < kGdiTableEntries; ++i)
    if (table[i * kGdiEntrySize + kGdiTypeOffset] != 0) ++live;
  return live;
}

int GdiCountWorks() {
  int before = CountGdiObjects();
  if (before < 0) return 0;
  HBRUSH brushes[10];
  std::generate(std::begin(brushes), std::end(brushes),
                [] { return CreateSolidBrush(RGB(1, 2, 3)); });
  int during = CountGdiObjects();
  for (HBRUSH brush : brushes) DeleteObject(brush);
  int after = CountGdiObjects();
  return during == before + 10 && after == before;
}

int GdiObjectsKeptPerShapedWindow() {
  int kept = 0;
  for (int round = 0; round < 2; ++round) {  // the first may also make what Wine makes once
    int before = CountGdiObjects();
    // Shown, as the accessory is: Wine 10 keeps the region only of a window it has shown.
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "STATIC", "",
                                  WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, NULL, NULL, NULL, NULL);
    HRGN shape = CreateRectRgn(0, 0, 20, 20);
    HRGN more = CreateRectRgn(30, 30, 40, 40);
    CombineRgn(shape, shape, more, RGN_OR);
    DeleteObject(more);
    SetWindowRgn(window, shape, TRUE);  // the window owns the region from here on
    DestroyWindow(window);
    kept = CountGdiObjects() - before;
  }
  return kept;
}

int CountMenus() {
  int menus = 0;
  for (int value = kFirstUserHandle; value <= kLastUserHandle; value += 2)
    if (IsMenu(reinterpret_cast<HMENU>(static_cast<UINT_PTR>(value)))) ++menus;
  return menus;
}

int CountKernelHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0)
    return static_cast<int>(count);
  // Wine answers 0: ask about every handle value instead (they are multiples of 4).
  int open = 0;
  for (UINT_PTR value = 4; value < kHandleValuesScanned; value += 4) {
    DWORD flags;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++open;
  }
  return open;
}

int CountThreadWindows() {
  int windows = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindowAndChildren,
                    reinterpret_cast<LPARAM>(&windows));
  return windows;
}

ObjectCounts CountObjects() {
  return {CountGdiObjects(), CountMenus(), CountKernelHandles(), CountThreadWindows()};
}

void ExpectSameCounts(const ObjectCounts& before, const ObjectCounts& after) {
  EXPECT_EQ(before.gdi, after.gdi) << "GDI objects";
  EXPECT_EQ(before.menus, after.menus) << "menus";
  EXPECT_EQ(before.handles, after.handles) << "kernel handles";
  EXPECT_EQ(before.windows, after.windows) << "windows";
}
