// Registration in the Startup folder of the test prefix: the shortcut written and read back, the
// question before replacing one, and failures that report and keep what was there.
#include "shell/startup_shortcut.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "object_counts.h"
#include "test_support.h"

namespace {

std::string ShortcutPath() {
  char path[kPathSize];
  EXPECT_EQ(1, MakeStartupShortcutPath(NULL, path));
  return path;
}

// The properties a shortcut file holds, read back through the Shell Link object.
struct ShortcutProperties {
  std::string target, arguments;
  std::wstring description;  // the program's own text, read wide as the shell shows it
  int showCommand = 0;
  bool loaded = false;
};

ShortcutProperties ReadShortcut(const std::string& path) {
  ShortcutProperties read;
  HRESULT initialised = CoInitialize(NULL);
  IShellLinkA* link = NULL;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = NULL;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
      read.loaded = SUCCEEDED(file->Load(wide, STGM_READ));
      char text[MAX_PATH] = "";
      link->GetPath(text, MAX_PATH, NULL, SLGP_RAWPATH);
      read.target = text;
      link->GetArguments(text, MAX_PATH);
      read.arguments = text;
      IShellLinkW* wideLink = NULL;
      if (SUCCEEDED(link->QueryInterface(IID_IShellLinkW, reinterpret_cast<void**>(&wideLink)))) {
        wchar_t description[MAX_PATH] = L"";
        wideLink->GetDescription(description, MAX_PATH);
        read.description = description;
        wideLink->Release();
      }
      link->GetShowCmd(&read.showCommand);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(initialised)) CoUninitialize();
  return read;
}

// An install folder holding Perchling.exe, and a Startup folder without Perchling.lnk, before
// and after the test.
class StartupRegistration : public testing::Test {
 protected:
  void SetUp() override {
    RemoveShortcut();
    WriteTextFile(install.dir + "Perchling.exe", "MZ");
    g_state.instance = GetModuleHandleA(NULL);
    lstrcpynA(g_state.installDir, install.dir.c_str(), kPathSize);
  }
  void TearDown() override { RemoveShortcut(); }
  void RemoveShortcut() {
    DeleteFileA(shortcut.c_str());
    RemoveTree(shortcut);
  }
  void ExpectRegistered() {
    ShortcutProperties read = ReadShortcut(shortcut);
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(install.dir + "Perchling.exe", read.target);
    EXPECT_EQ("/s", read.arguments);
    EXPECT_EQ(L"ぺるりんのデスクトップアクセサリ", read.description);
    EXPECT_EQ(SW_SHOWNORMAL, read.showCommand);
  }
  TempInstall install;
  std::string shortcut = ShortcutPath();
};

}  // namespace

TEST_F(StartupRegistration, WritesTheShortcutAndReportsCompletion) {
  EXPECT_EQ(0, IsStartupRegistered(NULL));
  MessageBoxAnswerer answerer;
  RegisterStartup(NULL);
  EXPECT_EQ(std::vector<std::wstring>{kRegistered}, answerer.texts);
  EXPECT_EQ(1, IsStartupRegistered(NULL));
  ExpectRegistered();
}

TEST_F(StartupRegistration, AgainAsksFirst_NoKeepsTheOldFile_YesReplacesIt) {
  WriteTextFile(shortcut, "an old shortcut");
  {
    MessageBoxAnswerer answerer(IDNO);
    RegisterStartup(NULL);
    EXPECT_EQ(std::vector<std::wstring>{kAlreadyRegistered}, answerer.texts);
  }
  EXPECT_EQ("an old shortcut", ReadTextFile(shortcut));

  MessageBoxAnswerer answerer(IDYES);
  RegisterStartup(NULL);
  EXPECT_EQ((std::vector<std::wstring>{kAlreadyRegistered, kRegistered}),
            answerer.texts);
  ExpectRegistered();
}

// A folder of that name counts as registered and cannot be replaced by a file.
TEST_F(StartupRegistration, FolderInTheWay_ReportsFailureAndStaysThere) {
  CreateDirectoryA(shortcut.c_str(), NULL);
  MessageBoxAnswerer answerer(IDYES);
  RegisterStartup(NULL);
  EXPECT_EQ(
      (std::vector<std::wstring>{kAlreadyRegistered, kRegistrationFailed}),
      answerer.texts);
  DWORD attributes = GetFileAttributesA(shortcut.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
}

// CoInitialize answers RPC_E_CHANGED_MODE on a thread in the multithreaded apartment.
TEST_F(StartupRegistration, ComInAnotherMode_ReportsFailureAndKeepsTheOldShortcut) {
  {
    MessageBoxAnswerer answerer;
    RegisterStartup(NULL);
  }
  std::string old = ReadTextFile(shortcut);
  ASSERT_NE("<missing>", old);
  ASSERT_EQ(S_OK, CoInitializeEx(NULL, COINIT_MULTITHREADED));
  MessageBoxAnswerer answerer(IDYES);
  RegisterStartup(NULL);
  CoUninitialize();
  EXPECT_EQ(
      (std::vector<std::wstring>{kAlreadyRegistered, kRegistrationFailed}),
      answerer.texts);
  EXPECT_EQ(old, ReadTextFile(shortcut));
}

// The thread's own COM initialisation is left as it was: ours is balanced.
TEST_F(StartupRegistration, ComAlreadyInitialised_RegistersAndLeavesItInitialised) {
  ASSERT_EQ(S_OK, CoInitialize(NULL));
  MessageBoxAnswerer answerer;
  RegisterStartup(NULL);
  EXPECT_EQ(std::vector<std::wstring>{kRegistered}, answerer.texts);
  CoUninitialize();
  EXPECT_EQ(S_OK, CoInitialize(NULL)) << "one CoUninitialize must have ended it";
  CoUninitialize();
  ExpectRegistered();
}

// A target path that does not fit is not cut short: nothing is written.
TEST_F(StartupRegistration, TargetPathThatDoesNotFit_ReportsFailure) {
  std::string deep(kPathSize - 5, 'x');
  lstrcpynA(g_state.installDir, ("C:\\" + deep + "\\").c_str(), kPathSize);
  MessageBoxAnswerer answerer;
  RegisterStartup(NULL);
  EXPECT_EQ(std::vector<std::wstring>{kRegistrationFailed}, answerer.texts);
  EXPECT_EQ(0, IsStartupRegistered(NULL));
}

// Registering again and again, each time answering Yes: the shortcut stays right and nothing the
// command makes (COM objects, file handles, message boxes) is left behind.
TEST_F(StartupRegistration, HundredRegistrationsLeaveNothingBehind) {
  MessageBoxAnswerer answerer(IDYES);
  RegisterStartup(NULL);
  RegisterStartup(NULL);  // the first question box loads its icon and fonts for good
  ASSERT_TRUE(PumpUntilIdle()) << "the first registrations left messages waiting";
  ObjectCounts before = CountObjects();
  for (int i = 0; i < 100; ++i) RegisterStartup(NULL);
  ASSERT_TRUE(PumpUntilIdle()) << "the registrations left messages waiting";
  ExpectSameCounts(before, CountObjects());
  ASSERT_EQ(203u, answerer.texts.size()) << "a question and a completion for each";
  EXPECT_EQ(kAlreadyRegistered, answerer.texts[201]);
  EXPECT_EQ(kRegistered, answerer.texts[202]);
  ExpectRegistered();
}
