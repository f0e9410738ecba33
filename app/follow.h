// Where the accessory perches on the foreground window: its right edge kFollowInset pixels left of
// that window's right edge, its lower kTitleOverlap pixels over the top of that window, where the
// title bar is. Plain C++ without Windows headers. No clamping: a window near the top of the screen
// puts the accessory partly above it.
#pragma once

enum {
  kFollowInset = 60,   // from the foreground window's right edge
  kTitleOverlap = 22,  // below the foreground window's top edge
};

struct FollowPoint {
  int x;
  int y;
};

// Top-left corner for an accessory of width x height on a window whose right and top edges are given.
FollowPoint FollowPosition(int right, int top, int width, int height);
