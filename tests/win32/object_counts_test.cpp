// The object counters the leak tests rely on: each must see exactly what a test creates.
#include "object_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

TEST(ObjectCounts, GdiCounterSeesTenBrushesComeAndGo) {
  DeleteDC(CreateCompatibleDC(NULL));  // the first DC of a process makes objects that live on
  int before = CountGdiObjects();
  ASSERT_GT(before, 0) << "no GDI handle table behind the PEB";
  HBRUSH brushes[10];
  std::generate(std::begin(brushes), std::end(brushes),
                [] { return CreateSolidBrush(RGB(10, 20, 30)); });
  EXPECT_EQ(before + 10, CountGdiObjects());
  for (HBRUSH brush : brushes) DeleteObject(brush);
  EXPECT_EQ(before, CountGdiObjects());

  HRGN region = CreateRectRgn(0, 0, 5, 5);
  HDC dc = CreateCompatibleDC(NULL);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
  EXPECT_EQ(before + 3, CountGdiObjects()) << "regions, DCs and bitmaps count too";
  DeleteObject(bitmap);
  DeleteDC(dc);
  DeleteObject(region);
  EXPECT_EQ(before, CountGdiObjects());
}

TEST(ObjectCounts, MenuCounterSeesPopupsAndBarsComeAndGo) {
  int before = CountMenus();
  HMENU popups[10];
  std::generate(std::begin(popups), std::end(popups), CreatePopupMenu);
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popups[0]), "x");
  EXPECT_EQ(before + 11, CountMenus());
  DestroyMenu(bar);  // takes popups[0] with it
  EXPECT_EQ(before + 9, CountMenus());
  for (int i = 1; i < 10; ++i) DestroyMenu(popups[i]);
  EXPECT_EQ(before, CountMenus());
}

TEST(ObjectCounts, HandleCounterSeesTenEventsComeAndGo) {
  int before = CountKernelHandles();
  ASSERT_GT(before, 0);
  HANDLE events[10];
  std::generate(std::begin(events), std::end(events),
                [] { return CreateEventA(NULL, TRUE, FALSE, NULL); });
  EXPECT_EQ(before + 10, CountKernelHandles());
  for (HANDLE event : events) CloseHandle(event);
  EXPECT_EQ(before, CountKernelHandles());
}
