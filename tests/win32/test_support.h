// Plumbing for the in-process Win32 tests: temporary install folders, pictures written on the
// spot, message boxes answered from the test, and the accessory opened and closed around a test.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// A pixel colour as 0x00RRGGBB, the value the shape builder compares.
typedef unsigned int Rgb;
const Rgb kMagenta = 0x00FF00FF;

// A picture described pixel by pixel, top row first.
struct Picture {
  int width;
  int height;
  std::function<Rgb(int x, int y)> colour;
};

// Writes a bottom-up 24-bit BMP.
void WriteBmp24(const std::string& path, const Picture& picture);
// Writes a bottom-up 8-bit palette BMP; the palette holds every colour the picture uses.
void WriteBmp8(const std::string& path, const Picture& picture);
// The union of the picture's non-magenta pixels, built pixel by pixel.
HRGN ExpectedShape(const Picture& picture);

// A fresh folder with a skin\ folder inside, removed with everything in it at the end.
struct TempInstall {
  std::string dir;  // ends with a backslash
  TempInstall();
  ~TempInstall();
  std::string Skin(const std::string& name) const { return dir + "skin\\" + name + ".bmp"; }
};
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);  // "<missing>" if it cannot be read
void RemoveTree(const std::string& dir);

// Answers every message box titled "Perchling" (or title) while installed, recording its text.
struct MessageBoxAnswerer {
  explicit MessageBoxAnswerer(int answer = IDOK, const char* title = "Perchling");
  ~MessageBoxAnswerer();
  std::vector<std::string> texts;
  int answer;
  std::string title;
};

// Runs the thread's messages for the given time.
void PumpMessages(DWORD milliseconds);
// Runs messages until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = 3000);
// Removes every waiting message, a quit message included; returns 1 if there was a quit message.
int DrainQuit(WPARAM* exitCode = nullptr);

// Opens the accessory from installDir as start-up does (settings, class, window, menu) and closes
// it again at the end of the test.
struct OpenedAccessory {
  explicit OpenedAccessory(const std::string& installDir, int showCommand = SW_SHOWNOACTIVATE);
  ~OpenedAccessory();
  void Close();  // destroys the window if still there, drops the quit message and the class
  HWND window;
};

RECT WindowRect(HWND window);
// The region's bounding box.
RECT RegionBox(HRGN region);
