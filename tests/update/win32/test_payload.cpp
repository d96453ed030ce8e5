// The "new version" an update installs in the tests: writes the parameters
// it was started with to payload-started.txt beside itself, and ends.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR parameters, int) {
  char path[MAX_PATH];
  std::string file(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  file.resize(file.find_last_of('\\') + 1);
  // Written under another name and renamed, so a reader never sees half.
  const std::string temp = file + "payload-started.tmp";
  HANDLE out = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(out, parameters, lstrlenA(parameters), &written, nullptr);
  CloseHandle(out);
  return !MoveFileExA(temp.c_str(), (file + "payload-started.txt").c_str(),
                      MOVEFILE_REPLACE_EXISTING);
}
