// The shape built the slow, obvious way: one CombineRgn with RGN_OR per run, into one growing
// region. Not part of Perchling.exe: the identity test and the benchmarks hold the program's
// builder against it.
#pragma once
#include <windows.h>

// Same contract as CreateRegionFromBitmap: the same working copy, the same runs in the same order,
// each one united into the accumulator on its own.
HRGN CreateRegionFromBitmapPerRun(HBITMAP bitmap, DWORD transparent);
