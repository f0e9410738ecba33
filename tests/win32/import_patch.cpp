// Patching the test program's import address table.
#include "import_patch.h"

#include <windows.h>

static void** FindImportSlot(const char* dll, const char* function) {
  BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
  IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return NULL;
  for (IMAGE_IMPORT_DESCRIPTOR* module =
           reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       module->Name; ++module) {
    if (lstrcmpiA(reinterpret_cast<char*>(base + module->Name), dll) != 0) continue;
    IMAGE_THUNK_DATA* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
        base + (module->OriginalFirstThunk ? module->OriginalFirstThunk : module->FirstThunk));
    IMAGE_THUNK_DATA* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++addresses) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      IMAGE_IMPORT_BY_NAME* name =
          reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (lstrcmpA(reinterpret_cast<char*>(name->Name), function) == 0)
        return reinterpret_cast<void**>(&addresses->u1.Function);
    }
  }
  return NULL;
}

static void WriteSlot(void** slot, void* value) {
  DWORD oldProtection;
  VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &oldProtection);
  *slot = value;
  VirtualProtect(slot, sizeof *slot, oldProtection, &oldProtection);
}

ImportPatch::ImportPatch(const char* dll, const char* function, void* replacement)
    : slot(FindImportSlot(dll, function)), original(slot ? *slot : NULL) {
  if (slot) WriteSlot(slot, replacement);
}

ImportPatch::~ImportPatch() {
  if (slot) WriteSlot(slot, original);
}
