// The skin kit's Win32 edge: decoding any picture with the Windows Imaging Component, loading a
// BMP the way Perchling does, and reading and writing files. Paths are UTF-16, so the kit can
// still open a file whose name the ANSI code page cannot hold (and say so).
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <windows.h>

enum PictureResult {
  kPictureOk,
  kPictureMissing,     // no such file
  kPictureUnreadable,  // a folder, unreadable, not a picture WIC decodes, broken or cut short
  kPictureTooLarge,    // wider or taller than kMaxPictureSide (its claimed size is kept)
};

// A decoded picture: width * height pixels of straight BGRA, 4 bytes each, top row first. The
// pixels are the caller's, released with FreePicture.
struct DecodedPicture {
  int width;
  int height;
  uint8_t* bgra;
  int jpeg;  // the file is a JPEG, whose colours are blurred
};

// Decodes the first frame of any picture WIC reads. COM must be initialised on this thread.
PictureResult DecodePicture(const wchar_t* path, DecodedPicture* picture);
void FreePicture(DecodedPicture* picture);

// Reads up to size bytes from the start of a file and its whole size.
PictureResult ReadFileStart(const wchar_t* path, uint8_t* bytes, size_t size, size_t* length,
                            uint64_t* fileSize);

// Loads the bitmap with LoadImage as Perchling loads its skin (from a temporary copy when its path
// is too long for LoadImage) and copies it into width * height
// 32-bit pixel values, bottom row first, each pixel's unused fourth byte cleared, as the
// accessory's working copy holds them; *shapeRects is the number of rectangles of the shape
// Perchling builds from it. Returns memory the caller frees with free(), or NULL if the loader
// refuses the file, the size does not match or the shape cannot be built; *noCopy is 1 when no
// temporary copy could be made, so the loader never saw the file.
uint32_t* LoadSkinPixels(const wchar_t* path, int width, int height, size_t* shapeRects,
                         int* noCopy);

enum WriteResult {
  kWriteOk,
  kWriteExists,  // a new file was asked for, and something is there already
  kWriteFailed,  // anything else: what was at path before is still there, as it was
};

// Writes the bytes as the whole content of a new file at path: created only if nothing is there
// (in one step, so nothing can come in between), and removed again if the write fails.
WriteResult CreateWholeFile(const wchar_t* path, const uint8_t* bytes, size_t size);

// Writes the bytes as the whole content of path, replacing what is there only once the new
// content is complete: it is written to a temporary file beside it, then moved over it, so a
// failed write leaves the old file exactly as it was.
WriteResult ReplaceWholeFile(const wchar_t* path, const uint8_t* bytes, size_t size);
// Either way, on failure nothing of the new content is left behind, and what is removed is removed
// through the kit's own handle: never a file it did not make.

// Writes the bytes as the whole content of a new file of the kit's own in folder (which ends in a
// backslash), named so that it is never taken for a skin; its path goes into temporary (size
// units). Remove it with DeleteFileW, or move it into place with MoveIntoPlace.
WriteResult CreateTemporaryFile(const wchar_t* folder, const uint8_t* bytes, size_t size,
                                wchar_t* temporary, size_t units);

// Moves the file at temporary to path in the same folder, over a file there only with replace.
WriteResult MoveIntoPlace(const wchar_t* temporary, const wchar_t* path, int replace);

// 1 if both paths name one existing file (any spelling, short names and links included).
int IsSameFile(const wchar_t* a, const wchar_t* b);

// 1 if something (a file or a folder) exists at path.
int PathExists(const wchar_t* path);
