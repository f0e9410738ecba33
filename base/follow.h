// Where the accessory perches on the foreground window: its right edge kFollowInset pixels left of
// that window's right edge, its lower kTitleOverlap pixels over the top of that window, where the
// title bar is. Plain C++ without Windows headers. A window near the top of the screen puts the
// accessory partly above it; only the platform's own coordinate range bounds the position.
#pragma once

enum {
  kFollowInset = 60,      // from the foreground window's right edge
  kTitleOverlap = 22,     // below the foreground window's top edge
  kFollowPeriodMs = 100,  // how often the follow tick looks at the foreground window
};

// The platform keeps a window's position within 16 bits and puts one placed beyond at the end of
// the range.
enum {
  kLowestWindowCoordinate = -32768,
  kHighestWindowCoordinate = 32767,
};

struct FollowPoint {
  int x;
  int y;
};

// Top-left corner for an accessory of width x height on a window whose right and top edges are
// given, within the platform's coordinate range, so that it can be compared with where the
// accessory stands (a minimised window sits at -32000, and a tall skin would perch beyond).
FollowPoint FollowPosition(int right, int top, int width, int height);
