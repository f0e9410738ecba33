// The About box in-process: placement, where its parts are and what a click on them does, link
// colours and cursor, opening links, the keys that do and do not close it, and the GDI objects it
// leaves behind.
#include "about/about_box.h"

#include <gtest/gtest.h>
#include <string.h>
#include <winternl.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "object_counts.h"
#include "res/resource.h"
#include "test_support.h"

namespace {

const wchar_t kAboutCaption[] = L"□　Perchling について";
const wchar_t kCharacterLabel[] = L"ぺるりんのホームページ";
const COLORREF kBlue = 0x00FF0000;    // not opened yet
const COLORREF kPurple = 0x00800080;  // opened

// Opens the About box owned by owner, runs body on it and closes it with OK if body did not.
bool WithAboutBox(HWND owner, const std::function<void(HWND)>& body) {
  return WithDialog(kAboutCaption, [owner] { ShowAboutBox(owner); }, body);
}

// What the dialog procedure does to a device context for one static control.
struct StaticColouring {
  INT_PTR brush;
  COLORREF text;
  int backgroundMode;
  HGDIOBJ font;
};

StaticColouring ColourStatic(HWND dialog, HWND control) {
  HDC dc = CreateCompatibleDC(NULL);
  StaticColouring result;
  result.brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
  result.text = GetTextColor(dc);
  result.backgroundMode = GetBkMode(dc);
  result.font = GetCurrentObject(dc, OBJ_FONT);
  DeleteDC(dc);
  return result;
}

COLORREF LinkColour(HWND dialog, int id) {
  return ColourStatic(dialog, GetDlgItem(dialog, id)).text;
}

// A click as the mouse gives it: the label reports it because of SS_NOTIFY.
void ClickLink(HWND dialog, int id) {
  HWND link = GetDlgItem(dialog, id);
  SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  SendMessageA(link, WM_LBUTTONUP, 0, 0);
}

// The size of a label's text in font.
SIZE TextExtent(HWND label, HGDIOBJ font) {
  char text[kPathSize];
  GetWindowTextA(label, text, kPathSize);
  HDC dc = GetDC(label);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent = {};
  GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &extent);
  SelectObject(dc, old);
  ReleaseDC(label, dc);
  return extent;
}

// Windows draws a link label in the link font; Wine selects the label's own font after
// WM_CTLCOLORSTATIC. Both are checked.
std::vector<HGDIOBJ> LinkFonts(HWND link) {
  return {g_state.linkFont, reinterpret_cast<HGDIOBJ>(SendMessageA(link, WM_GETFONT, 0, 0))};
}

// A key as the dialog's loop hands it to the dialog manager.
void PressKey(HWND dialog, WPARAM key) {
  MSG message = {GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
  IsDialogMessageA(dialog, &message);
}

class AboutBox : public InstalledAccessory {
 protected:
  HWND owner() const { return accessory.window; }
};

}  // namespace

TEST_F(AboutBox, IsCentredOnTheScreenWithItsCaptionAndOwner) {
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    RECT rect = WindowRect(dialog);
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2, rect.left);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2, rect.top);
    wchar_t caption[64];
    GetWindowTextW(dialog, caption, 64);
    EXPECT_STREQ(kAboutCaption, caption);
    EXPECT_EQ(owner(), GetWindow(dialog, GW_OWNER));
  }));
}

// Its texts and icon are shown by controls inside the box, a click on the middle of a link's text
// hits that link, and a click on OK closes the box, which has no close box.
TEST_F(AboutBox, ShowsItsPartsInsideIt_ClicksOnALinksTextAndOnOkReachThem) {
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    EXPECT_FALSE(GetWindowLongPtrA(dialog, GWL_STYLE) & WS_SYSMENU) << "no close box";
    RECT box, inside;
    GetClientRect(dialog, &box);
    MapWindowPoints(dialog, NULL, reinterpret_cast<POINT*>(&box), 2);
    std::vector<std::wstring> shown;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT rect = WindowRect(child);
      IntersectRect(&inside, &rect, &box);
      EXPECT_TRUE(EqualRect(&inside, &rect)) << "control " << GetDlgCtrlID(child);
      wchar_t text[256] = L"";
      GetWindowTextW(child, text, 256);
      bool icon = (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
      shown.push_back(icon && SendMessageA(child, STM_GETICON, 0, 0) ? L"<icon>" : text);
    }
    for (const wchar_t* part :
         {L"Fenwobble  Perchling ver 0.00\nウィンドウの上の小さな止まり木",
          L"Fenwobble のホームページ", kCharacterLabel, L"https://fenwobble.example/",
          L"https://fenwobble.example/bird/", L"OK", L"<icon>"})
      EXPECT_NE(shown.end(), std::find(shown.begin(), shown.end(), part)) << part;
    for (int id : {IDC_LINK_MAKER, IDC_LINK_CHARACTER}) {
      HWND link = GetDlgItem(dialog, id);
      POINT middle = {INT_MAX, INT_MAX};  // of the text, in the narrower and lower font
      for (HGDIOBJ font : LinkFonts(link)) {
        SIZE extent = TextExtent(link, font);
        middle = {std::min<LONG>(middle.x, extent.cx / 2), std::min<LONG>(middle.y, extent.cy / 2)};
      }
      ClientToScreen(link, &middle);
      EXPECT_EQ(link, WindowFromPoint(middle)) << id;
    }
    HWND ok = GetDlgItem(dialog, IDOK);
    RECT rect = WindowRect(ok);
    POINT middle = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ASSERT_EQ(ok, WindowFromPoint(middle));
    ScreenToClient(ok, &middle);
    SendMessageA(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(middle.x, middle.y));
    SendMessageA(ok, WM_LBUTTONUP, 0, MAKELPARAM(middle.x, middle.y));
    EXPECT_FALSE(IsWindowVisible(dialog));
  }));
}

TEST_F(AboutBox, LinksAreDrawnInTheLinkFontAndOtherStaticsAreLeftAlone) {
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    StaticColouring link = ColourStatic(dialog, GetDlgItem(dialog, IDC_LINK_MAKER));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH)), link.brush);
    EXPECT_EQ(kBlue, link.text);
    EXPECT_EQ(TRANSPARENT, link.backgroundMode);
    EXPECT_EQ(g_state.linkFont, link.font);

    HWND label = FindWindowExW(dialog, NULL, L"Static", kCharacterLabel);
    ASSERT_NE(nullptr, label);
    StaticColouring plain = ColourStatic(dialog, label);
    StaticColouring untouched = ColourStatic(dialog, NULL);  // no control: nothing is done
    EXPECT_EQ(COLOR_BTNFACE + 1, plain.brush);
    EXPECT_EQ(untouched.text, plain.text);
    EXPECT_EQ(untouched.backgroundMode, plain.backgroundMode);
    EXPECT_EQ(untouched.font, plain.font);
  }));
}

TEST_F(AboutBox, OpenedLinkTurnsPurpleAtOnce_AndBothAreBlueAtTheNextOpening) {
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    EXPECT_EQ(kBlue, LinkColour(dialog, IDC_LINK_MAKER));
    EXPECT_EQ(kBlue, LinkColour(dialog, IDC_LINK_CHARACTER));
    HWND link = GetDlgItem(dialog, IDC_LINK_CHARACTER);
    UpdateWindow(link);
    MessageBoxAnswerer answerer;
    ClickLink(dialog, IDC_LINK_CHARACTER);
    EXPECT_TRUE(answerer.texts.empty());
    EXPECT_EQ(kPurple, LinkColour(dialog, IDC_LINK_CHARACTER));
    EXPECT_EQ(kBlue, LinkColour(dialog, IDC_LINK_MAKER));
    EXPECT_TRUE(GetUpdateRect(link, NULL, FALSE)) << "the link must be redrawn";
    ClickLink(dialog, IDC_LINK_MAKER);
    EXPECT_EQ(kPurple, LinkColour(dialog, IDC_LINK_MAKER));
  }));
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    EXPECT_EQ(kBlue, LinkColour(dialog, IDC_LINK_MAKER));
    EXPECT_EQ(kBlue, LinkColour(dialog, IDC_LINK_CHARACTER));
  }));
}

// The label's text is what it opens; a file that is not there cannot be opened.
TEST_F(AboutBox, LinkThatCannotBeOpenedReportsAndStaysBlue) {
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    SetDlgItemTextA(dialog, IDC_LINK_MAKER, "C:\\nonexistent\\x.exe");
    MessageBoxAnswerer answerer;
    ClickLink(dialog, IDC_LINK_MAKER);
    EXPECT_EQ(std::vector<std::wstring>{kOpenFailed}, answerer.texts);
    EXPECT_EQ(kBlue, LinkColour(dialog, IDC_LINK_MAKER));
  }));
}

TEST_F(AboutBox, CursorOverTheLinksIsTheLinkCursor_ElsewhereTheArrow) {
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    HCURSOR linkCursor = LoadCursorA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDC_LINK_CURSOR));
    HCURSOR arrow = LoadCursorA(NULL, IDC_ARROW);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    for (int id : {IDC_LINK_MAKER, IDC_LINK_CHARACTER}) {
      HWND link = GetDlgItem(dialog, id);
      SetCursor(arrow);
      SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), overClient);
      EXPECT_EQ(linkCursor, GetCursor()) << id;
    }
    HWND ok = GetDlgItem(dialog, IDOK);
    SetCursor(linkCursor);
    SendMessageA(ok, WM_SETCURSOR, reinterpret_cast<WPARAM>(ok), overClient);
    EXPECT_EQ(arrow, GetCursor());
  }));
}

TEST_F(AboutBox, EscapeLeavesItOpen_EnterClosesItAndDeletesTheFont) {
  HWND closed = NULL;
  HFONT font = NULL;
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    font = g_state.linkFont;
    EXPECT_EQ(OBJ_FONT, static_cast<int>(GetObjectType(font)));
    PressKey(dialog, VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(dialog));
    PressKey(dialog, VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(dialog));
    closed = dialog;
  }));
  EXPECT_FALSE(IsWindow(closed));
  EXPECT_EQ(nullptr, g_state.linkFont);
  EXPECT_EQ(0u, GetObjectType(font));
}

TEST_F(AboutBox, HundredOpeningsLeaveNothingBehind) {
  WithAboutBox(owner(), [](HWND) {});  // the first opening may fill the platform's caches
  ObjectCounts before = CountObjects();
  ASSERT_GT(before.gdi, 0);
  HBRUSH probe = CreateSolidBrush(kBlue);
  ASSERT_EQ(before.gdi + 1, CountGdiObjects()) << "the count must see one new object";
  DeleteObject(probe);
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(WithAboutBox(owner(), [](HWND) {}));
  ExpectSameCounts(before, CountObjects());
}

// A link label shows its whole URL on one line, in either font: a wrapped URL would show only its
// first part, and the character's page would look like the maker's home page.
TEST_F(AboutBox, EachLinkShowsItsWholeUrl) {
  EXPECT_TRUE(WithAboutBox(owner(), [&](HWND dialog) {
    for (int id : {IDC_LINK_MAKER, IDC_LINK_CHARACTER}) {
      HWND link = GetDlgItem(dialog, id);
      RECT client;
      GetClientRect(link, &client);
      for (HGDIOBJ font : LinkFonts(link)) EXPECT_LE(TextExtent(link, font).cx, client.right) << id;
    }
  }));
}
