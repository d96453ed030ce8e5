#include "desktop/window_messages.h"

#include <gtest/gtest.h>

namespace kelvo {
namespace {

constexpr uint32_t kRegistered = 0xC0F3;  // as RegisterWindowMessage might answer

// Each handled message has its case; everything else (and any message when
// the taskbar registration failed) is only passed on.
TEST(WindowMessages, EachHandledMessageHasItsCase) {
  EXPECT_EQ(ClassifyWindowMessage(0x001E, kRegistered), WindowMessage::TimeChanged);
  EXPECT_EQ(ClassifyWindowMessage(0x0020, kRegistered), WindowMessage::SetCursor);
  EXPECT_EQ(ClassifyWindowMessage(1801, kRegistered), WindowMessage::TrayNotify);
  EXPECT_EQ(ClassifyWindowMessage(1912, kRegistered), WindowMessage::WakeUp);
  EXPECT_EQ(ClassifyWindowMessage(0x02A3, kRegistered), WindowMessage::MouseLeft);
  EXPECT_EQ(ClassifyWindowMessage(0x0111, kRegistered), WindowMessage::Command);
  EXPECT_EQ(ClassifyWindowMessage(0xC0F3, kRegistered), WindowMessage::TaskbarCreated);
  EXPECT_EQ(ClassifyWindowMessage(0x000F, kRegistered), WindowMessage::Other);  // WM_PAINT
  EXPECT_EQ(ClassifyWindowMessage(0x0200, kRegistered), WindowMessage::Other);  // WM_MOUSEMOVE
  EXPECT_EQ(ClassifyWindowMessage(1802, kRegistered), WindowMessage::Other);
  EXPECT_EQ(ClassifyWindowMessage(0xC0F4, kRegistered), WindowMessage::Other);
  EXPECT_EQ(ClassifyWindowMessage(0, 0), WindowMessage::Other);  // WM_NULL
  EXPECT_EQ(ClassifyWindowMessage(0xC0F3, 0), WindowMessage::Other);
}

// Left and right button releases, lParam compared whole.
TEST(TrayClicks, LeftAndRightButtonReleasesAreTheOnlyClicks) {
  EXPECT_EQ(ClassifyTrayClick(0x0202), TrayClick::LeftUp);
  EXPECT_EQ(ClassifyTrayClick(0x0205), TrayClick::RightUp);
  EXPECT_EQ(ClassifyTrayClick(0x0201), TrayClick::Other);  // left press
  EXPECT_EQ(ClassifyTrayClick(0x0203), TrayClick::Other);  // double click
  EXPECT_EQ(ClassifyTrayClick(0x0200), TrayClick::Other);  // move
  EXPECT_EQ(ClassifyTrayClick(0x10202), TrayClick::Other);
  EXPECT_EQ(ClassifyTrayClick(0x100000202ull), TrayClick::Other);
}

// Identifiers 100 to 103 with a zero high word; nothing else.
TEST(MenuCommands, TheFourCommandsByIdentifier) {
  EXPECT_EQ(ClassifyMenuCommand(100), MenuCommand::ShowHide);
  EXPECT_EQ(ClassifyMenuCommand(101), MenuCommand::Transparent);
  EXPECT_EQ(ClassifyMenuCommand(102), MenuCommand::AutoRun);
  EXPECT_EQ(ClassifyMenuCommand(103), MenuCommand::Exit);
  EXPECT_EQ(ClassifyMenuCommand(104), MenuCommand::None);
  EXPECT_EQ(ClassifyMenuCommand(0), MenuCommand::None);
  EXPECT_EQ(ClassifyMenuCommand(99), MenuCommand::None);
  EXPECT_EQ(ClassifyMenuCommand(0x10064), MenuCommand::None);  // 100 | 1 << 16
  EXPECT_EQ(ClassifyMenuCommand(0x10067), MenuCommand::None);  // 103 | 1 << 16
  EXPECT_EQ(ClassifyMenuCommand(0x100000064ull), MenuCommand::None);
}

TEST(ShowHideItem, NamesWhatChoosingItWillDo) {
  EXPECT_EQ(ShowHideText(true), "隐藏日历");
  EXPECT_EQ(ShowHideText(false), "显示日历");
}

}  // namespace
}  // namespace kelvo
