// The skin kit's commands: convert, check, and pictures dropped on it. Each returns its verdict
// (the exit code) after printing its report or refusal.
#pragma once
#include <windows.h>

// convert IN OUT [--alpha-threshold N] (the arguments after the word).
int RunConvert(int count, const wchar_t* const* arguments);

// check SKIN... With a skin folder (FindSkinFolder), the path that counts is the one each skin
// has there.
int RunCheck(int count, const wchar_t* const* paths, const wchar_t* skinFolder);

// Pictures dropped on the kit, each in turn. With a skin folder, each becomes skin\NAME.bmp there;
// without one, a picture that is not a BMP becomes NAME.bmp beside itself. Returns the worst
// verdict.
int HandleDroppedFiles(int count, const wchar_t* const* paths, const wchar_t* skinFolder);
