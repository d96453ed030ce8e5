#include "desktop/win32/kelvo_notify_icon.h"

#include <utility>

#include "desktop/win32/platform_text.h"

namespace kelvo {

#if defined(__i386__)
// The 32-bit release hands the shell exactly the layout it expects there.
static_assert(CKelvoNotifyIcon::RecordSize == 488);
#endif

CKelvoNotifyIcon::~CKelvoNotifyIcon() {
  DeleteNotifyIcon();
}

CKelvoNotifyIcon::CKelvoNotifyIcon(CKelvoNotifyIcon&& other) noexcept
    : nid(std::exchange(other.nid, NOTIFYICONDATAA{})) {}

CKelvoNotifyIcon& CKelvoNotifyIcon::operator=(CKelvoNotifyIcon&& other) noexcept {
  if (this != &other) {
    DeleteNotifyIcon();
    nid = std::exchange(other.nid, NOTIFYICONDATAA{});
  }
  return *this;
}

void CKelvoNotifyIcon::SetIconFields(HWND hWnd, HICON hIcon, std::string_view strTip) {
  nid.cbSize = RecordSize;
  nid.hWnd = hWnd;
  nid.uID = IconId;
  nid.uFlags = Flags;
  nid.uCallbackMessage = WM_TRAYNOTIFY;
  nid.hIcon = hIcon;
  CopyToAnsiField(nid.szTip, sizeof nid.szTip, strTip);
}

bool CKelvoNotifyIcon::Send(DWORD command) {
  return Shell_NotifyIconA(command, &nid) != FALSE;
}

bool CKelvoNotifyIcon::AddNotifyIcon(HWND hWnd, HICON hIcon, std::string_view strTip) {
  SetIconFields(hWnd, hIcon, strTip);
  return Send(NIM_ADD);
}

bool CKelvoNotifyIcon::ModifyNotifyIcon(HWND hWnd, HICON hIcon, std::string_view strTip) {
  SetIconFields(hWnd, hIcon, strTip);
  return Send(NIM_MODIFY);
}

bool CKelvoNotifyIcon::ShowBubble(std::string_view strTitle, std::string_view strInfo,
                                  DWORD eInfoFlags) {
  CopyToAnsiField(nid.szInfoTitle, sizeof nid.szInfoTitle, strTitle);
  CopyToAnsiField(nid.szInfo, sizeof nid.szInfo, strInfo);
  nid.dwInfoFlags = eInfoFlags;
  return Send(NIM_MODIFY);
}

bool CKelvoNotifyIcon::HideBubble() {
  CopyToAnsiField(nid.szInfoTitle, sizeof nid.szInfoTitle, "");
  CopyToAnsiField(nid.szInfo, sizeof nid.szInfo, "");
  return Send(NIM_MODIFY);
}

bool CKelvoNotifyIcon::DeleteNotifyIcon() {
  // A record that never named a window (never added, or moved from) has no
  // icon to take away.
  if (!nid.hWnd) return false;
  return Send(NIM_DELETE);
}

}  // namespace kelvo
