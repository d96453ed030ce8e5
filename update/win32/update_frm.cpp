#include "update/win32/update_frm.h"

#include <shellapi.h>

#include "desktop/win32/module_file.h"
#include "desktop/win32/platform_text.h"
#include "desktop/win32/window_dpi.h"
#include "net/win32/trusted_download.h"
#include "window/face_scale.h"

namespace kelvo {
namespace {

constexpr int kLabelLeft = 16, kLabelTop = 32, kLabelWidth = 273, kLabelHeight = 17;
constexpr int kBarLeft = 16, kBarTop = 56, kBarWidth = 273, kBarHeightAsked = 14;
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_DLGFRAME | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

// The running program's folder and its executable's name without ".exe".
struct ModulePath {
  std::string directory;
  std::string exeName;
};

ModulePath CurrentModulePath() {
  const std::string path = RunningModuleFileName();
  const size_t slash = path.find_last_of("\\/");
  std::string directory = slash == std::string::npos ? "" : path.substr(0, slash);
  std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  // A drive's root keeps its backslash ("D:\"), as the platform reports it.
  if (directory.size() == 2 && directory[1] == ':') directory += '\\';
  const size_t dot = file.find_last_of('.');
  if (dot != std::string::npos) file.resize(dot);
  return {directory, file};
}

ATOM RegisterFormClass(HINSTANCE instance, WNDPROC procedure) {
  static ATOM atom = 0;
  if (atom) return atom;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.lpszClassName = UpdateFrm::ClassName;
  atom = RegisterClassExW(&wc);
  return atom;
}

}  // namespace

UpdateFrm::~UpdateFrm() {
  if (m_hWnd) {
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
  }
}

void UpdateFrm::Show() {
  if (!m_hWnd) Form_Load();
  if (!m_hWnd) return;
  ShowWindow(m_hWnd, SW_SHOWNORMAL);
  UpdateWindow(m_hWnd);
}

void UpdateFrm::Form_Load() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterFormClass(instance, &UpdateFrm::WindowProc);
  // The primary monitor's DPI, where the form is centred.
  m_dpi = WindowDpi(nullptr);
  RECT frame = {0, 0, ScaleLength(ClientWidth, m_dpi), ScaleLength(ClientHeight, m_dpi)};
  AdjustWindowRectEx(&frame, kFormStyle, FALSE, kFormExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const std::wstring caption = ToWide(Caption);
  CreateWindowExW(kFormExStyle, ClassName, caption.c_str(), kFormStyle, x, y, width, height,
                  nullptr, nullptr, instance, this);
  if (!m_hWnd) return;

  m_Label1 = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 0, 0, 0, 0, m_hWnd,
                             nullptr, instance, nullptr);
  m_KelvoProgressBar1.Create(m_hWnd, 0, 0, 0, 0, 0, m_dpi);
  ApplyDpi(WindowDpi(m_hWnd));

  RemoveCloseItem();
  SetLabel1(std::string(kDownloadingText));
  m_downfile.emplace(this);
}

void UpdateFrm::ApplyDpi(int dpi) {
  m_dpi = ClampDpi(dpi);
  const auto px = [this](int units) { return ScaleLength(units, m_dpi); };
  // The form's text in 宋体 9 pt, like the rest of the program.
  LOGFONTW font = {};
  font.lfHeight = -MulDiv(9, m_dpi, 72);
  font.lfCharSet = GB2312_CHARSET;
  lstrcpyW(font.lfFaceName, L"宋体");
  Font previous = std::move(m_font);
  m_font.Reset(CreateFontIndirectW(&font));
  SendMessageW(m_Label1, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
  MoveWindow(m_Label1, px(kLabelLeft), px(kLabelTop), px(kLabelWidth), px(kLabelHeight), TRUE);
  m_KelvoProgressBar1.SetDpi(m_dpi);
  MoveWindow(m_KelvoProgressBar1.Handle(), px(kBarLeft), px(kBarTop), px(kBarWidth),
             px(kBarHeightAsked), TRUE);
}

void UpdateFrm::RemoveCloseItem() {
  HMENU menu = GetSystemMenu(m_hWnd, FALSE);
  RemoveMenu(menu, SC_CLOSE, MF_BYCOMMAND | MF_REMOVE);
}

void UpdateFrm::SetLabel1(const std::string& text) {
  if (!m_Label1) return;
  const std::wstring wide = ToWide(text);
  SetWindowTextW(m_Label1, wide.c_str());
}

void UpdateFrm::m_downfile_QueryFileInfo(int32_t dwFileTotalLen) {
  m_tally.Announced = dwFileTotalLen;
  if (m_hWnd) m_KelvoProgressBar1.SetMax(dwFileTotalLen);
}

void UpdateFrm::m_downfile_Loading(int32_t dwRecivedLen) {
  m_tally.Received = dwRecivedLen;
  if (!m_hWnd) return;
  SetLabel1(LoadingLabelText(dwRecivedLen, m_KelvoProgressBar1.Max()));
  m_KelvoProgressBar1.SetValue(dwRecivedLen);
}

void UpdateFrm::UpdateFile(const std::string& strUpdateInfo) {
  const ModulePath module = CurrentModulePath();
  m_AppDir = AppDirFromDirectory(module.directory);
  m_exeName = module.exeName;
  if (!m_downfile) m_downfile.emplace(this);
  m_written.clear();
  m_failed = false;
  for (const ScriptCommand& command : ParseUpdateScript(strUpdateInfo, m_AppDir)) {
    // After a failed down no later line may run: no del, no run.
    if (m_failed) break;
    switch (command.kind) {
      case ScriptCommand::Kind::Down:
        Down(command);
        break;
      case ScriptCommand::Kind::Del:
        Del(command);
        break;
      case ScriptCommand::Kind::Run:
        // The new program runs and the form is closed: the update is over,
        // and nothing after it may count as a failure that brings the
        // calendar back beside the new program.
        Run(command);
        return;
    }
  }
}

void UpdateFrm::Down(const ScriptCommand& command) {
  m_tally = PayloadTally{};
  const std::wstring path = ToWide(command.path);
  // A ".td" left from an earlier run is never the file this run fetched.
  DeleteFileW(path.c_str());
  std::string unused;
  const bool made = m_downfile->DownLoadFile(command.url, command.path, false, true, true, unused);
  if (made) m_written.push_back(command.path);
  if (made && m_downfile->LastFileWhole() && PayloadMatches(command.path, command.sha256)) return;
  // Not the payload the server published (refused, cut short, not written
  // whole, or other than the file the manifest names): the update stops and leaves nothing of
  // itself behind.
  m_failed = true;
  for (const std::string& written : m_written) DeleteFileW(ToWide(written).c_str());
  CloseForm();
}

void UpdateFrm::Del(const ScriptCommand& command) {
  const std::wstring path = ToWide(command.path);
  DeleteFileW(path.c_str());
}

void UpdateFrm::Run(const ScriptCommand& command) {
  const std::wstring program = ToWide(command.path);
  const std::wstring downloaded = ToWide(command.path + std::string(kDownloadSuffix));
  // Fails, harmlessly, when the program is still there or nothing arrived.
  MoveFileW(downloaded.c_str(), program.c_str());
  const std::wstring parameter = ToWide(RunParameter(m_AppDir, m_exeName));
  ShellExecuteW(nullptr, L"open", program.c_str(), parameter.c_str(), nullptr, SW_SHOWNORMAL);
  CloseForm();
}

void UpdateFrm::CloseForm() {
  if (m_hWnd) DestroyWindow(m_hWnd);
}

LRESULT CALLBACK UpdateFrm::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (uMsg == WM_NCCREATE) {
    auto* created =
        static_cast<UpdateFrm*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    created->m_hWnd = hWnd;
  }
  auto* form = reinterpret_cast<UpdateFrm*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
  switch (uMsg) {
    case WM_CTLCOLORSTATIC:
      // The label sits on the form's face colour.
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_CLOSE:
      // No Close command: only the script's run line closes the form.
      return 0;
    case WM_DPICHANGED:
      if (form) {
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        form->ApplyDpi(LOWORD(wParam));
      }
      return 0;
    case WM_DESTROY:
      // The calendar window is gone before this form is shown, so this is
      // the program's last window.
      if (form) PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      if (form) {
        form->m_hWnd = nullptr;
        form->m_Label1 = nullptr;
      }
      break;
  }
  return DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

}  // namespace kelvo
