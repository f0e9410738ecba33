// The skin kit's paths: the skin folder of the Perchling it sits beside, the skin a dropped
// picture becomes, and a file name judged as Perchling's catalogue judges it. Paths are UTF-16
// and at most kKitPathSize units.
#pragma once
#include <stddef.h>
#include <windows.h>

#include "skinkit/skin_report.h"

// The skin folder of the Perchling the kit sits beside, with its final backslash: the kit's own
// folder holds the file Perchling.exe and a folder skin, as the release zip lays them out. ""
// (and 0) when it sits beside none.
int FindSkinFolder(wchar_t* folder, size_t size);

// Writes folder, the first nameLength characters of name, and ".bmp" into out; 0 if it would not
// fit.
int JoinSkinPath(const wchar_t* folder, size_t folderLength, const wchar_t* name, size_t nameLength,
                 wchar_t* out, size_t size);

// What the catalogue would make of the file name of path (its device's name included).
void CheckFileNameOf(const wchar_t* path, SkinNameFacts* facts);

// 1 if the path's file name ends in ".bmp", in any case.
int IsBmpName(const wchar_t* path);

// 1 if Perchling's menu would list the skin at path (NAME.bmp in skinFolder) once it is there:
// the names are gathered as its catalogue gathers them, and only the kMaxSkins that sort first
// are listed. A name the catalogue never takes (too long, outside the code page...) counts as
// listed: what keeps it out is another finding.
int IsListedInMenu(const wchar_t* skinFolder, const wchar_t* path);

// The length in bytes of the ANSI code page of the path the skin at path has in skinFolder, which
// goes into counted (kKitPathSize units); a path that does not fit counts kKitPathSize.
size_t SkinPathBytes(const wchar_t* skinFolder, const wchar_t* path, wchar_t* counted);
