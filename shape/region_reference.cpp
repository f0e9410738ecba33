// The per-run union: the working copy and the scan of the program's builder, followed by one
// region union per run. Its cost grows with runs times region size; it is kept only to check and
// measure the program's builder against.
#include "shape/region_reference.h"

#include "shape/pixel_runs.h"

// Adds one run to the accumulator region passed as context.
static void UniteRun(void* context, const PixelRun& run) {
  HRGN accumulator = static_cast<HRGN>(context);
  HRGN rect = CreateRectRgn(run.x0, run.y, run.x1, run.y + 1);
  CombineRgn(accumulator, accumulator, rect, RGN_OR);
  DeleteObject(rect);
}

HRGN CreateRegionFromBitmapPerRun(HBITMAP bitmap, DWORD transparent) {
  BITMAP measured;
  if (!bitmap || !GetObjectA(bitmap, sizeof measured, &measured)) return NULL;
  int width = measured.bmWidth, height = measured.bmHeight;

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: the bottom row is stored first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  HDC workingDc = CreateCompatibleDC(NULL);
  if (!workingDc) return NULL;
  void* bits = NULL;
  HBITMAP working = CreateDIBSection(workingDc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
  BOOL copied = FALSE;
  if (working) {
    copied = TRUE;  // without a second context the copy is never tried: all pixels stay 0
    HGDIOBJ oldWorking = SelectObject(workingDc, working);
    HDC pictureDc = CreateCompatibleDC(workingDc);
    if (pictureDc) {
      HGDIOBJ oldPicture = SelectObject(pictureDc, bitmap);
      copied = BitBlt(workingDc, 0, 0, width, height, pictureDc, 0, 0, SRCCOPY);
      SelectObject(pictureDc, oldPicture);
      DeleteDC(pictureDc);
    }
    SelectObject(workingDc, oldWorking);
  }
  DeleteDC(workingDc);
  if (!working) return NULL;
  if (!copied) {
    DeleteObject(working);
    return NULL;
  }

  HRGN accumulator = CreateRectRgn(0, 0, 0, 0);
  ScanPixelRuns(static_cast<const uint32_t*>(bits), width, height, transparent, UniteRun,
                accumulator);
  DeleteObject(working);
  return accumulator;
}
