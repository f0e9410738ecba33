// The skin kit's decisions that need no Windows: which command a command line asks for and what
// convert's options say, which part of a path is the file name and which part of that the skin's
// name, how a long name is cut for a report, and whether the console is the kit's own. Plain C++
// without Windows headers; paths are UTF-16 as the kit receives them, shown names the reports'
// UTF-8.
#pragma once
#include <stddef.h>

enum KitCommand {
  kCommandNone,     // nothing given: a double-click, or a bare run from a prompt
  kCommandHelp,     // --help or /?
  kCommandConvert,  // convert IN OUT [--alpha-threshold N]
  kCommandCheck,    // check SKIN...
  kCommandDrop,     // only files: pictures dropped on the kit
  kCommandWrong,    // an option the kit does not know
};

// The command argv asks for; argv[0] is the program.
KitCommand ChooseCommand(int argc, const wchar_t* const* argv);

struct ConvertRequest {
  const wchar_t* input;
  const wchar_t* output;
  int alphaThreshold;
  int keyBackground;  // --key-background: a plain background becomes transparent
  int fit;            // --fit: a picture over half a screen is shrunk to fit it
};
enum ConvertParse { kConvertParsed, kConvertBadThreshold, kConvertBadArguments };

// Reads convert's arguments (those after the word): two files, and --alpha-threshold with a whole
// number from 0 to 255, --key-background and --fit anywhere among them.
ConvertParse ParseConvertArguments(int count, const wchar_t* const* arguments,
                                   ConvertRequest* request);

// The file name part of a path: what follows its last backslash, slash or drive colon.
const wchar_t* FileNamePart(const wchar_t* path);

// The length of the skin's name a file name gives: the file name without its last extension. A
// name whose only dot is its first keeps it (".png" gives ".png").
size_t SkinNameLength(const wchar_t* fileName);

// Writes a name (UTF-8) for a report into out (size bytes): whole when it fits, else "..." and its
// end, cut at the start of a character. The name, not the message, is what gives way.
void CutShownName(const char* name, char* out, size_t size);

// 1 if the console is the kit's own, as when Explorer starts it for dropped files or a
// double-click: no other process is attached to it, and the input comes from it. Only then is
// there someone to wait for, or to ask.
int IsOwnConsole(unsigned long attachedProcesses, int inputIsConsole);
