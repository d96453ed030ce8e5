#include "desktop/window_messages.h"

namespace kelvo {

WindowMessage ClassifyWindowMessage(uint32_t uMsg, uint32_t taskbarCreatedMsg) {
  switch (uMsg) {
    case kTimeChangeMessage:
      return WindowMessage::TimeChanged;
    case kSetCursorMessage:
      return WindowMessage::SetCursor;
    case WM_TRAYNOTIFY:
      return WindowMessage::TrayNotify;
    case WM_WAKEUP:
      return WindowMessage::WakeUp;
    case kMouseLeaveMessage:
      return WindowMessage::MouseLeft;
    case kCommandMessage:
      return WindowMessage::Command;
    default:
      break;
  }
  if (taskbarCreatedMsg != 0 && uMsg == taskbarCreatedMsg) return WindowMessage::TaskbarCreated;
  return WindowMessage::Other;
}

bool MovesLocalDate(uint32_t uMsg, uint64_t wParam, std::string_view settingArea) {
  if (uMsg == kPowerEventMessage) return wParam == kResumeAutomatic;
  return uMsg == kSettingChangeMessage && (settingArea == "TimeZone" || settingArea == "intl");
}

TrayClick ClassifyTrayClick(uint64_t lParam) {
  if (lParam == kLeftButtonUpMessage) return TrayClick::LeftUp;
  if (lParam == kRightButtonUpMessage) return TrayClick::RightUp;
  if (lParam == kBalloonClickMessage) return TrayClick::BalloonClick;
  return TrayClick::Other;
}

MenuCommand ClassifyMenuCommand(uint64_t wParam) {
  switch (wParam) {
    case IDM_SHOWHIDE:
      return MenuCommand::ShowHide;
    case IDM_TRANSPARENT:
      return MenuCommand::Transparent;
    case IDM_AUTORUN:
      return MenuCommand::AutoRun;
    case IDM_EXIT:
      return MenuCommand::Exit;
    case IDM_OWNDAYS:
      return MenuCommand::OwnDays;
    case IDM_HOME:
      return MenuCommand::Home;
    default:
      return MenuCommand::None;
  }
}

}  // namespace kelvo
