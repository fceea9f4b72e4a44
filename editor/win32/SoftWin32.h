#pragma once
// The subset of the Win32 user interface that the editor uses, for systems
// without it: types, constants and functions carry the Win32 names and
// meanings. Windows and controls live in this process; drawing goes to
// software bitmaps (see SoftWindow.h, SoftGdi.h and SoftInput.h).

#include <cstdint>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int UINT;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t UINT_PTR;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef DWORD COLORREF;
typedef char* LPSTR;
typedef const char* LPCSTR;

struct SoftWindow;
struct SoftDc;
struct SoftGdiObject;
struct SoftModule;
typedef SoftWindow* HWND;
typedef SoftDc* HDC;
typedef void* HGDIOBJ;
typedef SoftGdiObject* HBITMAP;
typedef SoftGdiObject* HPEN;
typedef SoftGdiObject* HBRUSH;
typedef SoftGdiObject* HFONT;
typedef SoftModule* HINSTANCE;
typedef void* HICON;
typedef void* HCURSOR;
typedef void* HMENU;

#define WINAPI
#define CALLBACK
#define TRUE 1
#define FALSE 0

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
};
struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};
struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
struct OPENFILENAMEA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
};

#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r)) | ((WORD)((BYTE)(g)) << 8) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) ((BYTE)((c)&0xFF))
#define GetGValue(c) ((BYTE)(((c) >> 8) & 0xFF))
#define GetBValue(c) ((BYTE)(((c) >> 16) & 0xFF))
#define LOWORD(l) ((WORD)(((UINT_PTR)(l)) & 0xFFFF))
#define HIWORD(l) ((WORD)((((UINT_PTR)(l)) >> 16) & 0xFFFF))
#define MAKELONG(a, b) ((LONG)(((WORD)(((UINT_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((UINT_PTR)(b)) & 0xffff))) << 16))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#define GET_WHEEL_DELTA_WPARAM(wp) ((short)HIWORD(wp))
#define MAKEINTRESOURCEA(i) ((LPSTR)((UINT_PTR)((WORD)(i))))

// Window styles.
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u
#define WS_BORDER 0x00800000u
#define CS_VREDRAW 0x0001u
#define CS_HREDRAW 0x0002u
// Button styles.
#define BS_PUSHBUTTON 0x0u
#define BS_AUTOCHECKBOX 0x3u
#define BS_AUTORADIOBUTTON 0x9u
#define BS_TYPEMASK 0xFu
// Static styles.
#define SS_LEFT 0x0u
#define SS_CENTER 0x1u
#define SS_RIGHT 0x2u
#define SS_LEFTNOWORDWRAP 0xCu
#define SS_OWNERDRAW 0xDu
#define SS_TYPEMASK 0x1Fu
#define SS_NOTIFY 0x100u
// Edit, combo box, scroll bar and progress bar styles.
#define ES_LEFT 0x0u
#define ES_AUTOHSCROLL 0x80u
#define CBS_DROPDOWNLIST 0x3u
#define SBS_HORZ 0x0u
#define SBS_VERT 0x1u
#define PBS_SMOOTH 0x1u

// Messages.
#define WM_CREATE 0x0001u
#define WM_DESTROY 0x0002u
#define WM_PAINT 0x000Fu
#define WM_SETTEXT 0x000Cu
#define WM_GETTEXT 0x000Du
#define WM_GETTEXTLENGTH 0x000Eu
#define WM_SETCURSOR 0x0020u
#define WM_SETFONT 0x0030u
#define WM_NCHITTEST 0x0084u
#define WM_KEYDOWN 0x0100u
#define WM_KEYUP 0x0101u
#define WM_CHAR 0x0102u
#define WM_COMMAND 0x0111u
#define WM_HSCROLL 0x0114u
#define WM_VSCROLL 0x0115u
#define WM_MOUSEMOVE 0x0200u
#define WM_LBUTTONDOWN 0x0201u
#define WM_LBUTTONUP 0x0202u
#define WM_RBUTTONDOWN 0x0204u
#define WM_RBUTTONUP 0x0205u
#define WM_MOUSEWHEEL 0x020Au
#define BM_GETCHECK 0x00F0u
#define BM_SETCHECK 0x00F1u
#define BM_GETSTATE 0x00F2u
#define BM_SETSTATE 0x00F3u
#define CB_ADDSTRING 0x0143u
#define CB_GETCOUNT 0x0146u
#define CB_GETCURSEL 0x0147u
#define CB_GETLBTEXT 0x0148u
#define CB_GETLBTEXTLEN 0x0149u
#define CB_RESETCONTENT 0x014Bu
#define CB_SETCURSEL 0x014Eu
#define CB_ERR (-1)
#define PBM_SETRANGE 0x0401u
#define PBM_SETPOS 0x0402u
#define PBM_GETPOS 0x0408u
// Notifications.
#define BN_CLICKED 0
#define CBN_SELCHANGE 1
#define STN_CLICKED 0
#define BST_UNCHECKED 0
#define BST_CHECKED 1
#define BST_PUSHED 4
#define MK_LBUTTON 0x0001u
#define MK_RBUTTON 0x0002u
#define WHEEL_DELTA 120
// Scroll bars.
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_LINEUP 0
#define SB_LINEDOWN 1
#define SB_PAGEUP 2
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_ENDSCROLL 8
#define SIF_RANGE 0x1u
#define SIF_PAGE 0x2u
#define SIF_POS 0x4u
#define SIF_DISABLENOSCROLL 0x8u
#define SIF_TRACKPOS 0x10u
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)
// Window long values.
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_ID (-12)
#define GWLP_USERDATA (-21)
// ShowWindow.
#define SW_HIDE 0
#define SW_SHOW 5
// Message boxes.
#define MB_OK 0x0u
#define MB_OKCANCEL 0x1u
#define MB_YESNOCANCEL 0x3u
#define MB_YESNO 0x4u
#define MB_TYPEMASK 0xFu
#define MB_ICONINFORMATION 0x40u
#define MB_ICONSTOP 0x10u
#define IDOK 1
#define IDCANCEL 2
#define IDYES 6
#define IDNO 7
// GDI.
#define SRCCOPY 0x00CC0020u
#define SRCAND 0x008800C6u
#define PS_SOLID 0
#define PS_DOT 2
#define PS_NULL 5
#define TRANSPARENT 1
#define OPAQUE 2
#define WHITE_BRUSH 0
#define GRAY_BRUSH 2
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define ANSI_VAR_FONT 12
#define DEFAULT_GUI_FONT 17
#define COLOR_BTNFACE 15
#define IMAGE_BITMAP 0
// Common controls and dialogs.
#define ICC_PROGRESS_CLASS 0x20u
#define PROGRESS_CLASSA "msctls_progress32"
#define OFN_FILEMUSTEXIST 0x1000u
#define OFN_PATHMUSTEXIST 0x0800u
#define OFN_OVERWRITEPROMPT 0x0002u
#define OFN_HIDEREADONLY 0x0004u
#define MAX_PATH 260

// USER.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
WORD RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetWindowTextA(HWND window, LPCSTR text);
int GetWindowTextA(HWND window, LPSTR text, int capacity);
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
HWND GetDlgItem(HWND parent, int id);
HWND GetParent(HWND window);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND window);
int GetScrollInfo(HWND window, int bar, SCROLLINFO* info);
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
BOOL GetOpenFileNameA(OPENFILENAMEA* dialog);
BOOL GetSaveFileNameA(OPENFILENAMEA* dialog);
DWORD GetCurrentDirectoryA(DWORD capacity, LPSTR buffer);
BOOL SetCurrentDirectoryA(LPCSTR path);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HBRUSH GetSysColorBrush(int index);
DWORD GetSysColor(int index);
HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name);

// GDI.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
HGDIOBJ GetStockObject(int index);
HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
BOOL BitBlt(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC dc, int x, int y);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
int SetBkMode(HDC dc, int mode);
COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF SetTextColor(HDC dc, COLORREF colour);
