// Install-directory paths: bounded formatting, the directory cut and the skin-name check.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "base/follow.h"
#include "base/paths.h"

namespace {

// Lead bytes of a Japanese system (Shift-JIS, code page 932).
int IsLeadByte932(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A Western system (code page 1252) has no double-byte characters: every byte stands alone.
int IsLeadByte1252(unsigned char) { return 0; }

}  // namespace

TEST(FormatPath, FillsBothNames) {
  char out[kPathSize];
  ASSERT_EQ(1, FormatPath(out, sizeof out, "%sskin\\%s.bmp", "C:\\Tools\\", "night"));
  EXPECT_STREQ("C:\\Tools\\skin\\night.bmp", out);
  ASSERT_EQ(1, FormatPath(out, sizeof out, "%ssetting.ini", "C:\\", ""));
  EXPECT_STREQ("C:\\setting.ini", out);
  ASSERT_EQ(1, FormatPath(out, sizeof out, "100%% %s", "sure", ""));
  EXPECT_STREQ("100% sure", out);
}

TEST(FormatPath, ExactFitIsKeptAndOneMoreIsRefusedWhole) {
  std::string dir(kPathSize - 1 - strlen("setting.ini"), 'd');
  char out[kPathSize];
  ASSERT_EQ(1, FormatPath(out, sizeof out, "%ssetting.ini", dir.c_str(), ""));
  EXPECT_EQ(strlen(out), static_cast<size_t>(kPathSize - 1));

  dir += 'd';  // one byte too many: no terminator fits
  memset(out, 'x', sizeof out);
  EXPECT_EQ(0, FormatPath(out, sizeof out, "%ssetting.ini", dir.c_str(), ""));
  EXPECT_STREQ("", out) << "a path that does not fit must never be cut short";
}

TEST(FormatPath, NeverWritesPastTheBound) {
  char out[16];
  memset(out, '#', sizeof out);
  EXPECT_EQ(0, FormatPath(out, 8, "%s%s", "abcd", "efgh"));
  EXPECT_EQ('#', out[8]);
  EXPECT_EQ(0, FormatPath(out, 0, "%s", "a", ""));
  EXPECT_EQ('#', out[8]);
}

struct CutCase {
  const char* modulePath;
  const char* installDir;
};

void ExpectCuts(const std::vector<CutCase>& cases, LeadByteTest isLeadByte) {
  for (const CutCase& c : cases) {
    char path[kPathSize];
    strcpy(path, c.modulePath);
    CutAfterLastBackslash(path, isLeadByte);
    EXPECT_STREQ(c.installDir, path) << c.modulePath;
  }
}

TEST(CutAfterLastBackslash, LeavesTheDirectoryWithItsBackslash) {
  const std::vector<CutCase> cases = {
      {"C:\\Tools\\Perchling.exe", "C:\\Tools\\"},
      {"C:\\PROGRA~1\\PERCHL~1\\PERCHL~1.EXE", "C:\\PROGRA~1\\PERCHL~1\\"},  // short names
      {"C:\\Perchling.exe", "C:\\"},
      {"\\\\server\\share\\p.exe", "\\\\server\\share\\"},
      {"Perchling.exe", ""},
      // "表" is 0x95 0x5C in Shift-JIS: its second byte is not a backslash.
      {"C:\\\x95\x5C\\\x95\x5C.exe", "C:\\\x95\x5C\\"},
      {"C:\\\x83\x5C\x83\x89\\p.exe", "C:\\\x83\x5C\x83\x89\\"},
  };
  ExpectCuts(cases, IsLeadByte932);
}

// The same bytes mean other characters on another code page: on a Western system "é" (0xE9) and
// "\x95" are characters of their own, and the backslash after them is a real one.
TEST(CutAfterLastBackslash, ReadsTheBytesInTheGivenCodePage) {
  const std::vector<CutCase> western = {
      {"C:\\Caf\xE9\\Perchling.exe", "C:\\Caf\xE9\\"},
      {"C:\\\xE9\\\xFC\\p.exe", "C:\\\xE9\\\xFC\\"},
      {"C:\\\x95\x5C\\\x95\x5C.exe", "C:\\\x95\x5C\\\x95\x5C"},
  };
  ExpectCuts(western, IsLeadByte1252);
  // In Shift-JIS "\xE9\\" is one character: the same path is cut at its first backslash.
  ExpectCuts({{"C:\\Caf\xE9\\Perchling.exe", "C:\\"}}, IsLeadByte932);
}

TEST(IsPlainFileName, RefusesNamesThatLeaveTheFolder) {
  const char* plain[] = {"default", "my.skin", "..", ".bmp", "a b [c] _d `e`", "\x83\x5C\x83\x89",
                         "\x95\x5C", ""};
  for (const char* name : plain) EXPECT_EQ(1, IsPlainFileName(name, IsLeadByte932)) << name;
  const char* leaving[] = {"..\\default", "sub/x", "C:x", "\\\\server\\x", "a\\", "\x95\x5C\\x"};
  for (const char* name : leaving) EXPECT_EQ(0, IsPlainFileName(name, IsLeadByte932)) << name;
}

// On a Western system the second byte of "表" is a backslash of its own, and "é\" leaves the
// folder: a name is checked in the code page its file system reads it in.
TEST(IsPlainFileName, ReadsTheBytesInTheGivenCodePage) {
  const char* plain[] = {"Caf\xE9", "default", "\xE9t\xE9"};
  for (const char* name : plain) EXPECT_EQ(1, IsPlainFileName(name, IsLeadByte1252)) << name;
  const char* leaving[] = {"\x95\x5C", "\xE9\\x", "\x83\x5C\x83\x89", "\xFC/x", "\xE0:"};
  for (const char* name : leaving) EXPECT_EQ(0, IsPlainFileName(name, IsLeadByte1252)) << name;
  EXPECT_EQ(1, IsPlainFileName("\xE9\\x", IsLeadByte932)) << "one Shift-JIS character, then x";
}

// The perch's right edge lies 60 pixels left of the window's and its lowest 22 rows over the
// window's top, wherever the window is: unclamped above the screen, far off with a minimised window.
TEST(FollowPosition, RightEdgeInsetAndLowestRowsOverTheWindowsTop) {
  const int windows[][6] = {{800, 100, 75, 90, 665, 32},
                            {300, 0, 120, 120, 120, -98},
                            {-31840, -32000, 64, 80, -31964, -32058}};
  for (const auto& w : windows) {  // right, top, width, height; the perch's x and y
    FollowPoint perch = FollowPosition(w[0], w[1], w[2], w[3]);
    EXPECT_EQ(w[4], perch.x);
    EXPECT_EQ(w[5], perch.y);
  }
}
