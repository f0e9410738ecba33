// perchskin: the skin kit. It turns a picture with an alpha channel into a skin Perchling can
// load, and says what is wrong with a skin: its format, how finely cut its shape is, fringes of
// near-magenta, whether it reaches the title bar, its name. Started with only file names
// (pictures dropped on it), it makes each one a skin (in the skin folder of the Perchling it sits
// beside, else beside the picture) and checks it; started with nothing in a console window of its
// own (a double-click), it says how it is used. Only then, in a console window of its own, does
// it wait for Enter; every other command ends by itself.
// Start reading at main(). The commands are in kit_commands.cpp, the console and its prompts in
// kit_console.cpp, the kit's paths in kit_paths.cpp; texts in kit_texts.h (UTF-8); the judging
// and the command line's decisions are portable (skin_report.h, kit_decisions.h).
#include <windows.h>
// shellapi.h builds on windows.h.
#include <shellapi.h>

#include "skinkit/kit_commands.h"
#include "skinkit/kit_console.h"
#include "skinkit/kit_decisions.h"
#include "skinkit/kit_paths.h"
#include "skinkit/kit_texts.h"
#include "skinkit/skin_limits.h"
#include "skinkit/skin_report.h"

// Hands the command line to its command.
static int RunKit(KitCommand command, int argc, const wchar_t* const* argv, int ownConsole) {
  if (command == kCommandNone && ownConsole) {
    WriteText(STD_OUTPUT_HANDLE, TEXT_KIT_DOUBLE_CLICK);
    return kSkinFine;
  }
  if (command == kCommandNone || command == kCommandHelp) {
    ReportText usage = {};
    AppendUsage(&usage);
    WriteText(STD_OUTPUT_HANDLE, usage.text);
    return kSkinFine;
  }
  wchar_t skinFolder[kKitPathSize];
  FindSkinFolder(skinFolder, kKitPathSize);
  switch (command) {
    case kCommandConvert:
      return RunConvert(argc - 2, argv + 2);
    case kCommandCheck:
      return RunCheck(argc - 2, argv + 2, skinFolder);
    case kCommandDrop:
      return HandleDroppedFiles(argc - 1, argv + 1, skinFolder);
    default:
      WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_ARGUMENTS);
      return kSkinUnusable;
  }
}

int main() {
  // The wide command line: file names the ANSI code page cannot hold still arrive whole.
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) {
    WriteText(STD_ERROR_HANDLE, TEXT_KIT_BAD_ARGUMENTS);
    return kSkinUnusable;
  }
  HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  // Only a person who dropped files or double-clicked the kit reads the window before it closes;
  // a command from a script, a terminal or another program ends by itself.
  KitCommand command = ChooseCommand(argc, argv);
  int ownConsole = (command == kCommandNone || command == kCommandDrop) && HasOwnConsole();
  int verdict = RunKit(command, argc, argv, ownConsole);
  if (SUCCEEDED(com)) CoUninitialize();
  if (ownConsole) WaitForEnter();
  LocalFree(argv);
  // A report that reached no one is no success.
  return WasTextLost() ? kSkinUnusable : verdict;
}
