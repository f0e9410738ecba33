// The perch position on the foreground window's title bar.
#include "base/follow.h"

// The coordinate the platform would give a window placed at value.
static int WithinWindowRange(long long value) {
  if (value < kLowestWindowCoordinate) return kLowestWindowCoordinate;
  if (value > kHighestWindowCoordinate) return kHighestWindowCoordinate;
  return static_cast<int>(value);
}

FollowPoint FollowPosition(int right, int top, int width, int height) {
  FollowPoint point;
  point.x = WithinWindowRange(static_cast<long long>(right) - width - kFollowInset);
  point.y = WithinWindowRange(static_cast<long long>(top) - height + kTitleOverlap);
  return point;
}
