// The pixel-run scan of the shape builder.
#include "shape/pixel_runs.h"

size_t ScanPixelRuns(const uint32_t* pixels, int width, int height, uint32_t transparent,
                     PixelRunSink sink, void* context) {
  size_t count = 0;
  const uint32_t* cursor = pixels;
  for (int storedRow = 0; storedRow < height; ++storedRow, cursor += width) {
    PixelRun run;
    run.y = height - 1 - storedRow;
    for (int j = 0; j < width; ++j) {
      if (cursor[j] == transparent) continue;
      run.x0 = j;
      while (j < width && cursor[j] != transparent) ++j;
      run.x1 = j;
      sink(context, run);
      ++count;
      // cursor[j] is the transparent pixel that ended the run (or the row's end): the loop's
      // increment steps over it.
    }
  }
  return count;
}
