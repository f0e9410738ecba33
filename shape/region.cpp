// The shape builder: copy the picture into a 32-bit working copy, scan it for runs of
// non-transparent pixels, and unite the runs into one region.
//
// Uniting one run at a time costs time in proportion to runs times region size, which for a large
// dithered picture means minutes. Runs are instead gathered into small regions of kRunsPerPiece
// each, and the pieces are united pairwise like a binary counter, so every run takes part in about
// log2(pieces) unions. The result is the same region: the union of exactly the scanned runs.
//
// The pieces are kept small because Wine's ExtCreateRegion unites its rectangles one by one, each
// union copying the region built so far: a piece of k rectangles costs about k * k / 2 copies,
// against about one copy per rectangle for each level of the counter. Sixteen was the quickest
// (bench/region_bench.cpp): a 1024 x 1024 checkerboard took 79 ms against 285 ms with 256.
//
// A piece that ExtCreateRegion will not make is made run by run instead; if a region still cannot
// be made, or a union fails, the builder returns no region rather than a shape with holes.
#include "shape/region.h"

#include <stdlib.h>

#include "shape/pixel_runs.h"

enum {
  kRunsPerPiece = 16,
  kMaxPieceLevels = 64,  // a binary counter of pieces never needs more levels than this
};

struct RegionPieceData {
  RGNDATAHEADER header;
  RECT rects[kRunsPerPiece];
};

// Pieces waiting to be united: levels[k] is NULL or the union of 2^k pieces.
struct RegionBuilder {
  RegionPieceData piece;
  HRGN levels[kMaxPieceLevels];
  int failed;  // a piece or a union could not be made: the shape would miss part of the picture
};

// Unites b into a and deletes b; returns a, or NULL (a deleted too) if the union failed.
static HRGN UniteAndDelete(HRGN a, HRGN b) {
  int united = CombineRgn(a, a, b, RGN_OR);
  DeleteObject(b);
  if (united != ERROR) return a;
  DeleteObject(a);
  return NULL;
}

// The piece made by uniting its runs one at a time: slower, but it needs no region data block,
// which ExtCreateRegion may refuse. NULL if even this fails.
static HRGN CreatePieceRunByRun(const RegionPieceData& piece) {
  HRGN united = CreateRectRgn(0, 0, 0, 0);
  for (DWORD i = 0; united && i < piece.header.nCount; ++i) {
    const RECT& run = piece.rects[i];
    HRGN single = CreateRectRgn(run.left, run.top, run.right, run.bottom);
    if (!single) {
      DeleteObject(united);
      return NULL;
    }
    united = UniteAndDelete(united, single);
  }
  return united;
}

// Turns the gathered rectangles into a region and carries it into the counter.
static void FlushPiece(RegionBuilder* builder) {
  DWORD count = builder->piece.header.nCount;
  if (count == 0) return;
  HRGN carry = NULL;
  if (!builder->failed) {
    builder->piece.header.nRgnSize = count * sizeof(RECT);
    carry = ExtCreateRegion(NULL, sizeof(RGNDATAHEADER) + count * sizeof(RECT),
                            reinterpret_cast<RGNDATA*>(&builder->piece));
    if (!carry) carry = CreatePieceRunByRun(builder->piece);
    if (!carry) builder->failed = 1;
  }
  builder->piece.header.nCount = 0;
  SetRectEmpty(&builder->piece.header.rcBound);
  for (int level = 0; carry && level < kMaxPieceLevels; ++level) {
    if (!builder->levels[level]) {
      builder->levels[level] = carry;
      return;
    }
    carry = UniteAndDelete(builder->levels[level], carry);
    builder->levels[level] = NULL;
    if (!carry) builder->failed = 1;
  }
}

static void AddRun(void* context, const PixelRun& run) {
  RegionBuilder* builder = static_cast<RegionBuilder*>(context);
  RGNDATAHEADER* header = &builder->piece.header;
  RECT rect = {run.x0, run.y, run.x1, run.y + 1};
  builder->piece.rects[header->nCount++] = rect;
  UnionRect(&header->rcBound, &header->rcBound, &rect);
  if (header->nCount == kRunsPerPiece) FlushPiece(builder);
}

// Unites everything in the builder into one region (empty if there were no runs). NULL if any
// piece or union failed: no shape is better than one with holes the picture does not have.
static HRGN FinishRegion(RegionBuilder* builder) {
  FlushPiece(builder);
  HRGN result = builder->failed ? NULL : CreateRectRgn(0, 0, 0, 0);
  for (int level = 0; level < kMaxPieceLevels; ++level) {
    if (!builder->levels[level]) continue;
    if (result) {
      result = UniteAndDelete(result, builder->levels[level]);
    } else {
      DeleteObject(builder->levels[level]);
    }
  }
  return result;
}

// A 32-bit picture keeps its file's fourth byte through the copy (paint programs often store 255
// there). That byte is no part of the colour drawn, so it is cleared: magenta is cut out whatever
// the fourth byte was, and the scan compares colours only.
static void ClearUnusedByte(uint32_t* pixels, int width, int height) {
  size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i) pixels[i] &= 0x00FFFFFF;
}

HBITMAP CopyToWorkingPixels(HBITMAP bitmap, int width, int height,
                                   uint32_t** pixels) {
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
  if (working) {
    // Without a second context there is no copy: the working copy would stay all zeros, a
    // black rectangle instead of the picture's shape.
    BOOL copied = FALSE;
    HGDIOBJ oldWorking = SelectObject(workingDc, working);
    HDC pictureDc = CreateCompatibleDC(workingDc);
    if (pictureDc) {
      HGDIOBJ oldPicture = SelectObject(pictureDc, bitmap);
      copied = BitBlt(workingDc, 0, 0, width, height, pictureDc, 0, 0, SRCCOPY);
      SelectObject(pictureDc, oldPicture);
      DeleteDC(pictureDc);
    }
    SelectObject(workingDc, oldWorking);
    if (!copied) {
      DeleteObject(working);
      working = NULL;
    }
  }
  DeleteDC(workingDc);
  *pixels = static_cast<uint32_t*>(bits);
  if (working) ClearUnusedByte(*pixels, width, height);
  return working;
}

int ScanBitmapRuns(HBITMAP bitmap, DWORD transparent, PixelRunSink sink, void* context) {
  BITMAP measured;
  if (!bitmap || !GetObjectA(bitmap, sizeof measured, &measured)) return 0;
  uint32_t* pixels = NULL;
  HBITMAP working = CopyToWorkingPixels(bitmap, measured.bmWidth, measured.bmHeight, &pixels);
  if (!working) return 0;
  ScanPixelRuns(pixels, measured.bmWidth, measured.bmHeight, transparent, sink, context);
  DeleteObject(working);
  return 1;
}

int CountRegionRects(HRGN region, size_t* count) {
  // Asked without a buffer the platform says how many bytes the data takes; only the header,
  // which holds the count, is read from the data itself.
  DWORD size = region ? GetRegionData(region, 0, NULL) : 0;
  if (size < sizeof(RGNDATAHEADER)) return 0;
  RGNDATA* data = static_cast<RGNDATA*>(malloc(size));
  int read = data && GetRegionData(region, size, data) == size;
  if (read) *count = data->rdh.nCount;
  free(data);
  return read;
}

HRGN CreateRegionFromBitmap(HBITMAP bitmap, DWORD transparent) {
  RegionBuilder builder = {};  // a piece of sixteen rectangles and the counter: under 1 KB
  builder.piece.header.dwSize = sizeof(RGNDATAHEADER);
  builder.piece.header.iType = RDH_RECTANGLES;
  if (!ScanBitmapRuns(bitmap, transparent, AddRun, &builder)) return NULL;
  return FinishRegion(&builder);
}
