// Fault injection for the in-process tests: the test program's call of one imported function
// (for example USER32's GetForegroundWindow) goes to a replacement while an ImportPatch lives.
// The program's code is linked into the test program, so its calls are patched too.
#pragma once

struct ImportPatch {
  // dll as the import table names it ("USER32.dll", matched ignoring case).
  ImportPatch(const char* dll, const char* function, void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;
  void** slot;     // the import address table entry; NULL if the import was not found
  void* original;  // what the entry held before: call it to reach the real function
};
