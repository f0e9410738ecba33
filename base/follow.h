// Where the accessory perches on the foreground window: its right edge kFollowInset pixels left of
// that window's right edge, its lower kTitleOverlap pixels over the top of that window, where the
// title bar is. Plain C++ without Windows headers. No clamping: a window near the top of the screen
// puts the accessory partly above it.
// The values are plain #defines so that the tests, benchmarks and scripts can read them from here
// (tools/program_values.py reads them for Python).
#pragma once

#define FOLLOW_INSET 60       // from the foreground window's right edge
#define TITLE_OVERLAP 22      // below the foreground window's top edge
#define FOLLOW_PERIOD_MS 100  // how often the follow tick looks at the foreground window

enum {
  kFollowInset = FOLLOW_INSET,
  kTitleOverlap = TITLE_OVERLAP,
};

struct FollowPoint {
  int x;
  int y;
};

// Top-left corner for an accessory of width x height on a window whose right and top edges are given.
FollowPoint FollowPosition(int right, int top, int width, int height);
