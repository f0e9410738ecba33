// The perch position on the foreground window's title bar.
#include "base/follow.h"

FollowPoint FollowPosition(int right, int top, int width, int height) {
  FollowPoint point;
  point.x = right - width - kFollowInset;
  point.y = top - height + kTitleOverlap;
  return point;
}
