// The tray menu and the tray icon, against the real shell of Wine.
#include <windows.h>

#include <cstring>
#include <string>

#include "desktop/win32/kelvo_menu.h"
#include "desktop/win32/kelvo_notify_icon.h"
#include "desktop/win32/mod_32bit_icon.h"
#include "desktop/win32/platform_text.h"
#include "tests/window/win32/window_fixture.h"

namespace kelvo::testing {
namespace {

struct MenuItem {
  UINT Id;
  UINT Type;
  std::string Text;
};

MenuItem ItemAt(HMENU menu, UINT position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_ID | MIIM_FTYPE;
  GetMenuItemInfoW(menu, position, TRUE, &info);
  return {info.wID, info.fType, MenuItemText(menu, position)};
}

using TrayMenuOfTheWindow = LoadedWindow;

TEST_F(TrayMenuOfTheWindow, HasFiveUncheckedItemsInOrder) {
  HMENU menu = window->TrayMenu().Handle();
  ASSERT_EQ(GetMenuItemCount(menu), 5);
  const MenuItem expected[5] = {{100, MFT_STRING, "隐藏日历"},
                                {101, MFT_STRING, "半透明显示(&T)"},
                                {102, MFT_STRING, "开机启动"},
                                {0, MFT_SEPARATOR, ""},
                                {103, MFT_STRING, "退出程序(&X)"}};
  for (UINT i = 0; i < 5; ++i) {
    const MenuItem item = ItemAt(menu, i);
    EXPECT_EQ(item.Id, expected[i].Id) << i;
    EXPECT_EQ(item.Type, expected[i].Type) << i;
    EXPECT_EQ(item.Text, expected[i].Text) << i;
  }
  for (UINT id : {100u, 101u, 102u, 103u}) {
    EXPECT_EQ(window->TrayMenu().GetItemState(id) & MF_CHECKED, 0u) << id;
  }
}

TEST_F(TrayMenuOfTheWindow, TrayIconRecordNamesTheWindowWithTheCaptionAsTip) {
  const NOTIFYICONDATAA& record = window->NotifyIcon().Record();
  EXPECT_EQ(record.cbSize, CKelvoNotifyIcon::RecordSize);
  EXPECT_EQ(record.hWnd, Handle());
  EXPECT_EQ(record.uID, 1000u);
  EXPECT_EQ(record.uFlags, 0x17u);
  EXPECT_EQ(record.uCallbackMessage, 1801u);
  EXPECT_EQ(record.hIcon, window->TrayIcon());
  EXPECT_STREQ(record.szTip, "Kelvo\xC8\xD5\xC0\xFA");  // Kelvo日历 in code page 936
  EXPECT_STREQ(record.szInfo, "");
}

// The menu item record without the item bitmap; the icon record ending with
// the balloon fields.
TEST(ShellRecords, SizesAreTheLayoutsTheProgramPasses) {
#if defined(_WIN64)
  EXPECT_EQ(CKelvoMenu::ItemInfoSize, 72u);
  EXPECT_EQ(CKelvoNotifyIcon::RecordSize, 504u);
#else
  EXPECT_EQ(CKelvoMenu::ItemInfoSize, 44u);
  EXPECT_EQ(CKelvoNotifyIcon::RecordSize, 488u);
#endif
}

TEST(KelvoMenu, ChangingTheTextKeepsPositionAndId) {
  CKelvoMenu menu;
  menu.InsertItem(100, "隐藏日历", MFT_STRING);
  menu.InsertItem(103, "退出程序(&X)", MFT_STRING);
  menu.ModifyItem(100, MIIM_STRING, "显示日历");
  EXPECT_EQ(ItemAt(menu.Handle(), 0).Id, 100u);
  EXPECT_EQ(ItemAt(menu.Handle(), 0).Text, "显示日历");
  EXPECT_EQ(ItemAt(menu.Handle(), 1).Text, "退出程序(&X)");
}

TEST(KelvoMenu, CheckMarksAreReadBackByCommand) {
  CKelvoMenu menu;
  menu.InsertItem(101, "半透明显示(&T)", MFT_STRING);
  menu.InsertItem(102, "开机启动", MFT_STRING);
  menu.CheckItem(102, MF_CHECKED);
  EXPECT_NE(menu.GetItemState(102) & MF_CHECKED, 0u);
  EXPECT_EQ(menu.GetItemState(101) & MF_CHECKED, 0u);
  menu.CheckItem(102, MF_UNCHECKED);
  EXPECT_EQ(menu.GetItemState(102) & MF_CHECKED, 0u);
}

TEST(KelvoMenu, TheObjectOwnsItsMenuAlone) {
  HMENU handle;
  {
    CKelvoMenu menu;
    handle = menu.Handle();
    EXPECT_TRUE(IsMenu(handle));
  }
  EXPECT_FALSE(IsMenu(handle));
  // Moving hands the menu over once.
  CKelvoMenu first;
  handle = first.Handle();
  CKelvoMenu second(std::move(first));
  EXPECT_EQ(second.Handle(), handle);
  EXPECT_EQ(first.Handle(), nullptr);
  EXPECT_TRUE(IsMenu(handle));
}

// A plain window to own test icons.
class IconOwner {
 public:
  IconOwner() {
    m_hWnd = CreateWindowExW(0, L"STATIC", L"tray test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
  }
  ~IconOwner() { DestroyWindow(m_hWnd); }
  HWND Get() const { return m_hWnd; }

 private:
  HWND m_hWnd;
};

TEST(KelvoNotifyIcon, AddAndDeleteSucceedInTheShell) {
  IconOwner owner;
  CKelvoNotifyIcon icon;
  HICON picture = SetWindowIcons(owner.Get());
  EXPECT_TRUE(icon.AddNotifyIcon(owner.Get(), picture, "Kelvo日历"));
  EXPECT_TRUE(icon.ModifyNotifyIcon(owner.Get(), picture, "Kelvo日历"));
  EXPECT_TRUE(icon.DeleteNotifyIcon());
  // Gone: a second delete finds nothing.
  EXPECT_FALSE(icon.DeleteNotifyIcon());
}

TEST(KelvoNotifyIcon, DestroyingTheObjectRemovesTheIcon) {
  IconOwner owner;
  HICON picture = SetWindowIcons(owner.Get());
  {
    CKelvoNotifyIcon icon;
    ASSERT_TRUE(icon.AddNotifyIcon(owner.Get(), picture, "tip"));
  }
  // Modifying a removed icon fails.
  NOTIFYICONDATAA record{};
  record.cbSize = CKelvoNotifyIcon::RecordSize;
  record.hWnd = owner.Get();
  record.uID = 1000;
  EXPECT_FALSE(Shell_NotifyIconA(NIM_MODIFY, &record));
}

TEST(KelvoNotifyIcon, LongTipIsCutToItsFieldWithoutSplittingACharacter) {
  IconOwner owner;
  CKelvoNotifyIcon icon;
  std::string tip;
  for (int i = 0; i < 100; ++i) tip += "日";  // two bytes each in code page 936
  icon.AddNotifyIcon(owner.Get(), nullptr, tip);
  EXPECT_EQ(std::strlen(icon.Record().szTip), 126u);
  std::string ascii(300, 'a');
  icon.AddNotifyIcon(owner.Get(), nullptr, ascii);
  EXPECT_EQ(std::strlen(icon.Record().szTip), 127u);
}

TEST(KelvoNotifyIcon, BubbleSetsAndHideBubbleClearsTheBalloonTexts) {
  IconOwner owner;
  CKelvoNotifyIcon icon;
  icon.AddNotifyIcon(owner.Get(), SetWindowIcons(owner.Get()), "tip");
  icon.ShowBubble("标题", "内容", NIIF_INFO);
  EXPECT_STREQ(icon.Record().szInfoTitle, "\xB1\xEA\xCC\xE2");
  EXPECT_STREQ(icon.Record().szInfo, "\xC4\xDA\xC8\xDD");
  EXPECT_EQ(icon.Record().dwInfoFlags, static_cast<DWORD>(NIIF_INFO));
  icon.HideBubble();
  EXPECT_STREQ(icon.Record().szInfoTitle, "");
  EXPECT_STREQ(icon.Record().szInfo, "");
  EXPECT_STREQ(icon.Record().szTip, "tip");
}

TEST(WindowIcons, SetsSixteenAndThirtyTwoPixelIcons) {
  IconOwner owner;
  HICON tray = SetWindowIcons(owner.Get());
  HICON small = reinterpret_cast<HICON>(SendMessageW(owner.Get(), WM_GETICON, ICON_SMALL, 0));
  HICON big = reinterpret_cast<HICON>(SendMessageW(owner.Get(), WM_GETICON, ICON_BIG, 0));
  ASSERT_NE(small, nullptr);
  ASSERT_NE(big, nullptr);
  EXPECT_TRUE(tray == small || tray == big);
}

TEST(WindowIcons, SystemsBeforeVersionSevenGetTheSmallTrayIcon) {
  EXPECT_TRUE(TrayWantsSmallIcon(0x1DB10106));  // 6.1, build 7601
  EXPECT_TRUE(TrayWantsSmallIcon(5));
  EXPECT_FALSE(TrayWantsSmallIcon(0x23F0000A));  // 10.0
  EXPECT_FALSE(TrayWantsSmallIcon(7));
}

}  // namespace
}  // namespace kelvo::testing
