// Decoding, loading, reading and writing for the skin kit. Every COM interface, handle, context
// and bitmap is released in the function that made it.
#include "skinkit/picture_files.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <wincodec.h>

#include "shape/region.h"
#include "skinkit/skin_limits.h"
#include "skinkit/skin_pixels.h"

int PathExists(const wchar_t* path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// Converts the frame to 32-bit straight BGRA and copies its pixels into the picture.
static PictureResult CopyFramePixels(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame,
                                     DecodedPicture* picture) {
  UINT width = 0, height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0)
    return kPictureUnreadable;
  picture->width = width > INT_MAX ? INT_MAX : int(width);
  picture->height = height > INT_MAX ? INT_MAX : int(height);
  if (width > UINT(kMaxPictureSide) || height > UINT(kMaxPictureSide)) return kPictureTooLarge;

  PictureResult result = kPictureUnreadable;
  IWICFormatConverter* converter = NULL;
  if (SUCCEEDED(factory->CreateFormatConverter(&converter))) {
    UINT stride = width * 4, size = stride * height;  // at most 256 MB: fits a UINT
    uint8_t* bgra = static_cast<uint8_t*>(malloc(size));
    if (bgra &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA,
                                        WICBitmapDitherTypeNone, NULL, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->CopyPixels(NULL, stride, size, bgra))) {
      picture->bgra = bgra;
      bgra = NULL;
      result = kPictureOk;
    }
    free(bgra);
    converter->Release();
  }
  return result;
}

PictureResult DecodePicture(const wchar_t* path, DecodedPicture* picture) {
  memset(picture, 0, sizeof *picture);
  DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return kPictureMissing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kPictureUnreadable;

  PictureResult result = kPictureUnreadable;
  IWICImagingFactory* factory = NULL;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))))
    return result;
  IWICBitmapDecoder* decoder = NULL;
  if (SUCCEEDED(factory->CreateDecoderFromFilename(path, NULL, GENERIC_READ,
                                                   WICDecodeMetadataCacheOnDemand, &decoder))) {
    GUID format;
    picture->jpeg = SUCCEEDED(decoder->GetContainerFormat(&format)) &&
                    IsEqualGUID(format, GUID_ContainerFormatJpeg);
    IWICBitmapFrameDecode* frame = NULL;
    if (SUCCEEDED(decoder->GetFrame(0, &frame))) {
      result = CopyFramePixels(factory, frame, picture);
      frame->Release();
    }
    decoder->Release();
  }
  factory->Release();
  return result;
}

void FreePicture(DecodedPicture* picture) {
  free(picture->bgra);
  picture->bgra = NULL;
}

PictureResult ReadFileStart(const wchar_t* path, uint8_t* bytes, size_t size, size_t* length,
                            uint64_t* fileSize) {
  *length = 0;
  *fileSize = 0;
  DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return kPictureMissing;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return kPictureUnreadable;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return kPictureUnreadable;
  PictureResult result = kPictureUnreadable;
  LARGE_INTEGER whole;
  DWORD read = 0;
  if (GetFileSizeEx(file, &whole) && ReadFile(file, bytes, DWORD(size), &read, NULL)) {
    *fileSize = uint64_t(whole.QuadPart);
    *length = read;
    result = kPictureOk;
  }
  CloseHandle(file);
  return result;
}

// The rectangles of the shape the accessory gives its window for the bitmap; 0 if there is no
// shape or it cannot be read.
static int CountShapeRects(HBITMAP bitmap, size_t* rects) {
  HRGN shape = CreateRegionFromBitmap(bitmap, kSkinKey);
  if (!shape) return 0;
  int counted = CountRegionRects(shape, rects);
  DeleteObject(shape);
  return counted;
}

static HBITMAP LoadBitmapFile(const wchar_t* path) {
  return static_cast<HBITMAP>(LoadImageW(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// LoadImage opens no path of MAX_PATH characters or more, yet Perchling opens a skin from its own
// skin folder, not from where the picture lies: a picture lying deeper is loaded from a copy in
// the temporary folder, which is removed again. *noCopy says when no copy could be made.
static HBITMAP LoadBitmapAnywhere(const wchar_t* path, int* noCopy) {
  *noCopy = 0;
  wchar_t full[kKitPathSize] = L"\\\\?\\";
  DWORD length = GetFullPathNameW(path, kKitPathSize - 4, full + 4, NULL);
  if (length == 0 || length >= kKitPathSize - 4) return NULL;
  if (length < MAX_PATH) return LoadBitmapFile(path);
  // GetTempPathW returns the length it needs when the folder does not fit: no folder then.
  wchar_t folder[MAX_PATH], copy[MAX_PATH];
  DWORD folderLength = GetTempPathW(MAX_PATH, folder);
  HBITMAP bitmap = NULL;
  *noCopy = 1;
  if (folderLength > 0 && folderLength < MAX_PATH && GetTempFileNameW(folder, L"psk", 0, copy)) {
    if (CopyFileW(full, copy, FALSE)) {
      *noCopy = 0;
      bitmap = LoadBitmapFile(copy);
    }
    DeleteFileW(copy);
  }
  return bitmap;
}

uint32_t* LoadSkinPixels(const wchar_t* path, int width, int height, size_t* shapeRects,
                         int* noCopy) {
  HBITMAP bitmap = LoadBitmapAnywhere(path, noCopy);
  if (!bitmap) return NULL;
  BITMAP measured;
  uint32_t* pixels = NULL;
  if (GetObjectW(bitmap, sizeof measured, &measured) && measured.bmWidth == width &&
      measured.bmHeight == height && CountShapeRects(bitmap, shapeRects)) {
    // The accessory's own working copy, so that the kit sees exactly the pixels it cuts.
    uint32_t* working = NULL;
    HBITMAP copy = CopyToWorkingPixels(bitmap, width, height, &working);
    if (copy) {
      size_t bytes = size_t(width) * size_t(height) * sizeof(uint32_t);
      pixels = static_cast<uint32_t*>(malloc(bytes));
      if (pixels) memcpy(pixels, working, bytes);
      DeleteObject(copy);
    }
  }
  DeleteObject(bitmap);
  return pixels;
}

// Writes all bytes to a file this kit has just created; 1 if all of them reached the disk.
static int WriteAll(HANDLE file, const uint8_t* bytes, size_t size) {
  DWORD written = 0;
  return WriteFile(file, bytes, DWORD(size), &written, NULL) && written == size &&
         FlushFileBuffers(file);
}

// Marks the file behind the handle for deletion when the handle closes. Done through the handle,
// it can only remove the file this kit made, whatever has come to its name meanwhile.
static void DeleteOwnFile(HANDLE file) {
  FILE_DISPOSITION_INFO disposition = {TRUE};
  SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// Creates a file of its own beside path, "<path>.<process>-<n>.tmp": in the same folder, so
// moving it over path is a rename, never a copy; ".tmp", so it is never taken for a skin. It may
// be renamed while open (the move), and deleted through its handle.
static HANDLE CreateTemporaryBeside(const wchar_t* path, wchar_t* temporary, size_t size) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int length = _snwprintf(temporary, size, L"%ls.%lu-%d.tmp", path,
                            static_cast<unsigned long>(GetCurrentProcessId()), attempt);
    if (length < 0 || size_t(length) >= size) break;
    HANDLE file = CreateFileW(temporary, GENERIC_WRITE | DELETE, FILE_SHARE_DELETE, NULL,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

WriteResult CreateWholeFile(const wchar_t* path, const uint8_t* bytes, size_t size) {
  HANDLE file =
      CreateFileW(path, GENERIC_WRITE | DELETE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE)
    return GetLastError() == ERROR_FILE_EXISTS ? kWriteExists : kWriteFailed;
  int whole = WriteAll(file, bytes, size);
  if (!whole) DeleteOwnFile(file);  // a half-written skin would only mislead
  CloseHandle(file);
  return whole ? kWriteOk : kWriteFailed;
}

WriteResult ReplaceWholeFile(const wchar_t* path, const uint8_t* bytes, size_t size) {
  size_t temporarySize = wcslen(path) + 32;  // room for ".<process>-<n>.tmp"
  wchar_t* temporary = static_cast<wchar_t*>(malloc(temporarySize * sizeof(wchar_t)));
  WriteResult result = kWriteFailed;
  HANDLE file =
      temporary ? CreateTemporaryBeside(path, temporary, temporarySize) : INVALID_HANDLE_VALUE;
  if (file != INVALID_HANDLE_VALUE) {
    // Moved while still open, so that a failed move, too, is cleaned up through the handle.
    if (WriteAll(file, bytes, size) &&
        MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      result = kWriteOk;
    } else {
      DeleteOwnFile(file);
    }
    CloseHandle(file);
  }
  free(temporary);
  return result;
}

WriteResult CreateTemporaryFile(const wchar_t* folder, const uint8_t* bytes, size_t size,
                                wchar_t* temporary, size_t units) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    int length = _snwprintf(temporary, units, L"%ls~perchskin-%lu-%d.tmp", folder,
                            static_cast<unsigned long>(GetCurrentProcessId()), attempt);
    if (length < 0 || size_t(length) >= units) break;
    WriteResult result = CreateWholeFile(temporary, bytes, size);
    if (result != kWriteExists) return result;
  }
  return kWriteFailed;
}

WriteResult MoveIntoPlace(const wchar_t* temporary, const wchar_t* path, int replace) {
  if (MoveFileExW(temporary, path,
                  MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0)))
    return kWriteOk;
  DWORD error = GetLastError();
  return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS ? kWriteExists : kWriteFailed;
}

// Opens path for its identity only (no read or write access; folders too).
static HANDLE OpenForIdentity(const wchar_t* path) {
  return CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                     OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
}

int IsSameFile(const wchar_t* a, const wchar_t* b) {
  int same = 0;
  HANDLE first = OpenForIdentity(a);
  if (first == INVALID_HANDLE_VALUE) return 0;
  HANDLE second = OpenForIdentity(b);
  if (second != INVALID_HANDLE_VALUE) {
    BY_HANDLE_FILE_INFORMATION one, other;
    same = GetFileInformationByHandle(first, &one) && GetFileInformationByHandle(second, &other) &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           one.nFileIndexHigh == other.nFileIndexHigh && one.nFileIndexLow == other.nFileIndexLow;
    CloseHandle(second);
  }
  CloseHandle(first);
  return same;
}
