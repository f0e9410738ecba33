// Counts of the process's live platform objects, for the leak tests: before and after a long run
// they must be equal. Wine's GetGuiResources is a stub that always answers 0, so GDI objects are
// counted in the GDI handle table the process environment block points to, and menus by asking
// IsMenu about every slot of the process's USER handle table. Both rely on Wine's layout (noted
// in object_counts.cpp); GdiCountWorks() says whether the table looks as expected.
#pragma once
#include <windows.h>

// Live GDI objects of this process (stock objects included), or -1 without a handle table.
int CountGdiObjects();
// 1 if creating and deleting ten brushes moves CountGdiObjects() by exactly ten each way.
int GdiCountWorks();
// GDI objects the platform itself keeps when a window shaped by SetWindowRgn is destroyed,
// measured on a window of its own: 0 under Wine 8, which frees the region with the window; 1
// under Wine 10.0, which keeps one. A leak test of shaped windows allows this many per window.
int GdiObjectsKeptPerShapedWindow();
// Live menus (popups and bars) of this process.
int CountMenus();
// Open kernel handles of this process (GetProcessHandleCount).
int CountKernelHandles();
// Top-level and child windows of the calling thread.
int CountThreadWindows();

// All four at once, to compare a run's end with its start.
struct ObjectCounts {
  int gdi;
  int menus;
  int handles;
  int windows;
};
ObjectCounts CountObjects();
// A test failure for each count that differs, named for what it counts.
void ExpectSameCounts(const ObjectCounts& before, const ObjectCounts& after);
