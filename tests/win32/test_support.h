// Plumbing for the in-process Win32 tests: temporary install folders with their skins and
// settings, the accessory opened and closed around a test, and every modal window (message box,
// dialog) answered from the test's own thread, with a deadline, so that no test waits for ever.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "base/program_state.h"
#include "test_pictures.h"

// What the tests judge the program by, written here and not read from its headers: a test that
// read them would agree with any fault in them.
const char kSettingsFile[] = "setting.ini";
const char kTitle[] = "Perchling";  // of the window and of every message box
const wchar_t kPictureSizeFailed[] = L"画像サイズの取得に失敗しました。";
const wchar_t kSkinMissing[] =
    L"指定されたスキンは存在しません。\nスキン情報を更新しておきますので\n再度、指定し直して下さい。";
const wchar_t kStartFailed[] = L"Perchling を起動できませんでした。";
const wchar_t kRelaunchFailed[] = L"Perchling.exe を起動できませんでした。\n手動で起動してください。";
const wchar_t kAlreadyRegistered[] = L"既に登録されています。\n改めて登録しますか？";
const wchar_t kRegistered[] = L"スタートアップへの登録は完了しました。";
const wchar_t kRegistrationFailed[] = L"スタートアップへの登録に失敗しました。";
const wchar_t kOpenFailed[] = L"起動に失敗しました。";
const wchar_t kNoSkins[] = L"スキンなし";

// A fresh folder (never one an earlier run left behind) with a skin\ folder inside, removed
// with everything in it at the end.
struct TempInstall {
  std::string dir;  // ends with a backslash
  TempInstall();
  // With a 24-bit file of picture for each name in skins, and a setting.ini naming currentSkin
  // unless it is null.
  TempInstall(const std::vector<std::string>& skins, const Picture& picture,
              const char* currentSkin = nullptr);
  ~TempInstall();
  TempInstall(const TempInstall&) = delete;
  TempInstall& operator=(const TempInstall&) = delete;
  std::string Skin(const std::string& name) const { return dir + "skin\\" + name + ".bmp"; }
  std::string Settings() const;  // what setting.ini holds, "<missing>" if there is none
};
// What setting.ini holds when it names skin.
std::string SettingsNaming(const std::string& skin);
// The message shown when setting.ini in installDir cannot be written: line, file, advice.
std::wstring SaveFailedText(const std::string& installDir);
void WriteTextFile(const std::string& path, const std::string& text);
std::string ReadTextFile(const std::string& path);  // "<missing>" if it cannot be read
void WriteBmp(const std::string& path, const Picture& picture, const BmpFormat& format = kBmp24);
// The source tree's folder of shipped skins as a Windows path, ending with a backslash.
std::string SourceSkinFolder();
// Removes a folder and everything in it, however deep.
void RemoveTree(const std::string& dir);

// Starts the one watch over modal windows on this thread (tests/win32/main.cpp does, once). While
// a message loop runs, it answers message boxes for the MessageBoxAnswerer in place, runs WithDialog
// bodies, and fails the test and closes any dialog nothing waits for, so no test can hang in one.
void StartModalWatch();

// Answers every message box titled title while in place, recording its text as the box shows it,
// in UTF-16.
struct MessageBoxAnswerer {
  explicit MessageBoxAnswerer(int answer = IDOK, const char* title = kTitle);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;
  std::vector<std::wstring> texts;
  int answer;
  std::string title;
  MessageBoxAnswerer* outer;  // the answerer in place before this one
};

// Calls open, which shows a modal dialog titled title on this thread, runs body on the dialog once
// it is on screen, then closes it with OK if body did not. Fails the test, and closes the dialog,
// if it is not on screen or not closed within the deadline. Returns whether body ran.
bool WithDialog(const wchar_t* title, const std::function<void()>& open,
                const std::function<void(HWND)>& body);

// How long a test waits for anything before it fails: generous, for a busy machine.
const DWORD kPatienceMs = 30000;

// Runs the thread's messages for the given time.
void PumpMessages(DWORD milliseconds);
// Runs messages until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = kPatienceMs);
// Runs messages until none is waiting (boxes closed, paints done) or the time is up.
bool PumpUntilIdle(DWORD milliseconds = kPatienceMs);
// Removes every waiting message, a quit message included; returns 1 if there was a quit message.
int DrainQuit(WPARAM* exitCode = nullptr);

// Opens the accessory from installDir as start-up does (settings, class, window, menu) and closes
// it again at the end of the test.
struct OpenedAccessory {
  explicit OpenedAccessory(const std::string& installDir, int showCommand = SW_SHOWNOACTIVATE);
  ~OpenedAccessory();
  void Close();  // cleans up as the program does after its loop, and drops the quit message
  HWND window;
};

// Set-up many tests share: an install folder with one plain skin, and the accessory opened from it.
class InstalledAccessory : public testing::Test {
 protected:
  TempInstall install{{"default"}, Solid(16, 16, 0x00336699)};
  OpenedAccessory accessory{install.dir};
};

// A plain window at a known rectangle, brought to the front to be the window the accessory perches
// on; destroyed at the end of its scope, a failed assertion's included.
struct TargetWindow {
  TargetWindow(const std::string& title, int x, int y, int width, int height);
  ~TargetWindow();
  TargetWindow(const TargetWindow&) = delete;
  TargetWindow& operator=(const TargetWindow&) = delete;
  // Under Wine the desktop can take the foreground when the X focus moves: puts the target back.
  void BringToFront();
  HWND window;
};

// Where an accessory of width x height perches on the window under it, worked out here from the
// two insets and not by the program's FollowPosition: the tests judge the program by it.
RECT PerchOn(HWND under, int width, int height);

RECT WindowRect(HWND window);

// "8.0", "10.0", ...: the version of the Wine the tests run under (empty on Windows).
std::string WineVersion();

// Whether the screen may show the picture's pixel wrongly though the window's region is exact.
// Wine 10.0 makes the X window's shape from a 1-bit mask and misplaces a run of opaque pixels that
// lies within one byte of a mask row (8 columns): it shows from the run's end to the byte's end
// instead. Every pixel of such a byte is named here under Wine 10; none under other versions.
bool MisshapenOnScreen(const Picture& picture, int x, int y);
// The region's bounding box.
RECT RegionBox(HRGN region);
