#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "net/download_events.h"
#include "net/win32/kelvo_download_file.h"
#include "update/update_script.h"
#include "update/win32/kelvo_progress_bar.h"
#include "window/win32/gdi_objects.h"

namespace kelvo {

// The update window: a status line and a progress bar while UpdateFile runs
// the update script. Its Close command is removed, so only the script's run
// line closes it. When it closes, the program has no window left and its
// message loop is told to end.
class UpdateFrm final : public DownLoadFileEvents {
 public:
  static constexpr const wchar_t* ClassName = L"KelvoUpdateFrm";
  static constexpr const char* Caption = "更新";
  static constexpr int ClientWidth = 305;
  static constexpr int ClientHeight = 102;

  UpdateFrm() = default;
  ~UpdateFrm() override;
  UpdateFrm(const UpdateFrm&) = delete;
  UpdateFrm& operator=(const UpdateFrm&) = delete;

  // Loads the form the first time, centres and shows it (not modal).
  void Show();
  // Runs the script of a whole manifest (its first line, the version, is
  // skipped) and returns after the last line.
  void UpdateFile(const std::string& strUpdateInfo);

  HWND Handle() const { return m_hWnd; }
  HWND Label1() const { return m_Label1; }
  KelvoProgressBar& KelvoProgressBar1() { return m_KelvoProgressBar1; }
  // True when the last UpdateFile stopped at a failed down line: every
  // ".td" it wrote is removed again and the form is closed.
  bool Failed() const { return m_failed; }
  // The program's folder, as the last UpdateFile computed it.
  const std::string& AppDir() const { return m_AppDir; }

  // Events of m_downfile.
  void QueryFileInfo(int32_t dwFileTotalLen) override { m_downfile_QueryFileInfo(dwFileTotalLen); }
  void Loading(int32_t dwRecivedLen) override { m_downfile_Loading(dwRecivedLen); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
  void Form_Load();
  void RemoveCloseItem();
  // Sizes, font and bar at the DPI; at load and on WM_DPICHANGED.
  void ApplyDpi(int dpi);
  void m_downfile_QueryFileInfo(int32_t dwFileTotalLen);
  void m_downfile_Loading(int32_t dwRecivedLen);
  void SetLabel1(const std::string& text);

  void Down(const ScriptCommand& command);
  void Del(const ScriptCommand& command);
  void Run(const ScriptCommand& command);
  void CloseForm();

  HWND m_hWnd = nullptr;
  HWND m_Label1 = nullptr;
  Font m_font;
  int m_dpi = 96;
  KelvoProgressBar m_KelvoProgressBar1;
  std::optional<CKelvoDownLoadFile> m_downfile;
  std::string m_AppDir;
  std::string m_exeName;
  // What the events told about the file being downloaded.
  PayloadTally m_tally;
  // The ".td" files this run wrote, and whether a down line failed.
  std::vector<std::string> m_written;
  bool m_failed = false;
};

}  // namespace kelvo
