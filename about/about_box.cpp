// The About box's procedure and its handlers. Start reading at ShowAboutBox(), at the end.
#include "about/about_box.h"

#include "base/message_box.h"
#include "base/program_state.h"
#include "base/shell_files.h"
#include "res/resource.h"
#include "res/texts.h"
#include "version.h"

static const int kLinkIds[2] = {IDC_LINK_MAKER, IDC_LINK_CHARACTER};

// The box's text, then its controls' in the template's order (NULL: OK and the icon keep theirs).
// clang-format off
static const wchar_t* const kWideTexts[] = {
    WIDE(TEXT_ABOUT_CAPTION), NULL, NULL, WIDE(TEXT_ABOUT_VERSION), WIDE(TEXT_ABOUT_MAKER_LABEL),
    WIDE(TEXT_ABOUT_CHARACTER_LABEL), WIDE(TEXT_URL_MAKER), WIDE(TEXT_URL_CHARACTER)};
// clang-format on

HFONT CreateLinkFont() {
  // The face name is Japanese: given in the ANSI code page, a Western system would look for a
  // font named in mojibake and fall back to another.
  LOGFONTW font = {};
  font.lfHeight = kLinkFontHeight;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(font.lfFaceName, WIDE(TEXT_ABOUT_FONT), LF_FACESIZE);
  return CreateFontIndirectW(&font);
}

// Which link a control identifier names: 0 or 1, or -1 for any other.
static int LinkIndexOfId(int id) {
  for (int k = 0; k < 2; ++k)
    if (id == kLinkIds[k]) return k;
  return -1;
}

// Which link a window is: 0 or 1, or -1 for any other window.
static int LinkIndex(HWND dialog, HWND window) {
  return window && GetParent(window) == dialog ? LinkIndexOfId(GetDlgCtrlID(window)) : -1;
}

// An ANSI dialog's texts pass through the ANSI code page (a Western one has no Japanese); a window
// whose procedure is set again through the wide function is a Unicode one and keeps UTF-16 text.
static void ShowWideTexts(HWND dialog) {
  HWND window = dialog;
  for (const wchar_t* text : kWideTexts) {
    if (text) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, GetWindowLongPtrW(window, GWLP_WNDPROC));
      SetWindowTextW(window, text);
    }
    window = GetWindow(window, window == dialog ? GW_CHILD : GW_HWNDNEXT);
  }
}

// Both links unvisited, the box centred on the screen, the link font and cursor ready, texts wide.
static INT_PTR OnInitDialog(HWND dialog) {
  g_state.linkVisited[0] = 0;
  g_state.linkVisited[1] = 0;
  RECT rect;
  GetWindowRect(dialog, &rect);
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  int x = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
  int y = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
  MoveWindow(dialog, x, y, width, height, TRUE);
  g_state.linkFont = CreateLinkFont();
  g_state.linkCursor = LoadCursorA(g_state.instance, MAKEINTRESOURCEA(IDC_LINK_CURSOR));
  ShowWideTexts(dialog);
  return TRUE;
}

// Links are drawn in the link font and colour over the dialog face; other statics keep the
// dialog's colours and their device context is left as it is.
static INT_PTR OnCtlColorStatic(HWND dialog, HDC dc, HWND control) {
  int k = LinkIndex(dialog, control);
  if (k < 0) return kSystemColourBrush;
  SelectObject(dc, g_state.linkFont);
  SetTextColor(dc, kLinkColours[g_state.linkVisited[k]]);
  SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
}

// The link cursor over a link; anywhere else the platform chooses.
static INT_PTR OnSetCursor(HWND dialog, HWND under) {
  if (LinkIndex(dialog, under) < 0) return FALSE;
  SetCursor(g_state.linkCursor);
  SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
  return TRUE;
}

// Opens the link's URL, which is its own text. A text too long for the buffer is not opened cut
// short; it fails like a URL the shell cannot open. A repaint without erase recolours it at once.
static void OpenLink(HWND dialog, int k) {
  HWND link = GetDlgItem(dialog, kLinkIds[k]);
  char url[kPathSize];
  if (GetWindowTextLengthA(link) >= kPathSize || GetWindowTextA(link, url, kPathSize) <= 0 ||
      !OpenWithShell(url, NULL)) {
    ShowMessage(dialog, WIDE(TEXT_OPEN_FAILED));
    return;
  }
  g_state.linkVisited[k] = 1;
  InvalidateRect(link, NULL, FALSE);
}

// OK (the button or Enter) closes the box; a link label's notification opens its link. Cancel
// (Escape) is left unhandled, so the box stays open.
static INT_PTR OnCommand(HWND dialog, int id) {
  if (id == IDOK) {
    DeleteObject(g_state.linkFont);
    g_state.linkFont = NULL;
    EndDialog(dialog, 0);
    return TRUE;
  }
  int k = LinkIndexOfId(id);
  if (k < 0) return FALSE;
  OpenLink(dialog, k);
  return TRUE;
}

// The About box's dialog procedure: non-zero means handled.
static INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(dialog, reinterpret_cast<HDC>(wParam),
                              reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR:
      return OnSetCursor(dialog, reinterpret_cast<HWND>(wParam));
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
  }
  return FALSE;
}

void ShowAboutBox(HWND owner) {
  DialogBoxParamA(g_state.instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
}
