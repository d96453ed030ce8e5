#pragma once
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string_view>

// WM_TRAYNOTIFY, the tray callback message: the icon's mouse messages arrive in lParam.
#include "desktop/window_messages.h"

namespace kelvo {

// One icon in the notification area for one window. The record persists
// between calls, so every operation reuses what earlier ones set; the icon
// leaves the tray when the object is destroyed. Texts are UTF-8 and are
// stored in the ANSI code page, cut to their fields.
class CKelvoNotifyIcon {
 public:
  // The layout that ends with the balloon fields (488 bytes on x86).
  static constexpr DWORD RecordSize = NOTIFYICONDATAA_V2_SIZE;
  static constexpr UINT IconId = 1000;
  static constexpr UINT Flags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;

  CKelvoNotifyIcon() = default;
  ~CKelvoNotifyIcon();
  CKelvoNotifyIcon(const CKelvoNotifyIcon&) = delete;
  CKelvoNotifyIcon& operator=(const CKelvoNotifyIcon&) = delete;
  CKelvoNotifyIcon(CKelvoNotifyIcon&& other) noexcept;
  CKelvoNotifyIcon& operator=(CKelvoNotifyIcon&& other) noexcept;

  // Each returns the shell's answer; the program itself does not look at it
  // (a failed add is repeated when the taskbar is re-created).
  bool AddNotifyIcon(HWND hWnd, HICON hIcon, std::string_view strTip);
  bool ModifyNotifyIcon(HWND hWnd, HICON hIcon, std::string_view strTip);
  bool ShowBubble(std::string_view strTitle, std::string_view strInfo, DWORD eInfoFlags);
  bool HideBubble();
  bool DeleteNotifyIcon();

  const NOTIFYICONDATAA& Record() const { return nid; }

 private:
  void SetIconFields(HWND hWnd, HICON hIcon, std::string_view strTip);
  bool Send(DWORD command);

  NOTIFYICONDATAA nid{};
};

}  // namespace kelvo
