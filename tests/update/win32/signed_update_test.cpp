// Programs built with a throw-away maker's key, under Wine, against the
// loopback server seeded with a site signed by stock openssl: CNG takes
// openssl's signatures, and only signed files and hashed payloads count.
#include <windows.h>

#include <gtest/gtest.h>

#include "net/win32/mod_gg.h"
#include "tests/support/test_server.h"
#include "tests/support/update_date_registry.h"
#include "tests/support/win32_files.h"
#include "tests/update/win32/question_box.h"

namespace kelvo {
namespace {

namespace server = test_server;
using test::ReadBytes;
const std::string kSite = "myapp/KelvoCalendar/";

std::string Served(const std::string& name) {
  return ReadBytes(server::Root() + "\\myapp\\KelvoCalendar\\" + name);
}

TEST(SignedAnnouncements, OnlyASignedListArrives) {
  for (const bool signedList : {true, false}) {
    if (!signedList) server::Serve(kSite + "GGList.txt.sig", Served("update.txt.sig"));
    GGFetch fetch;
    fetch.Start(server::Url("/" + kSite + "GGList.txt"));
    for (int i = 0; i < 500 && fetch.InFlight() > 0; ++i) Sleep(10);
    EXPECT_EQ(fetch.Loaded(), signedList);
  }
}

class SignedUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ForgetDate();
    folder = test::NewFolder("kelvo signed");
    test::WriteBytes(folder + "\\KelvoCalendar.exe",
                     ReadBytes(test::WinePath(KELVO_TEST_HOST_PATH)));
  }
  void TearDown() override {
    test::ForgetDate();
    test::RemoveFolder(folder);
  }

  // Runs the keyed stand-in calendar in its folder and answers Yes; its
  // exit code: 0 after an accepted update, 4 when no manifest was taken.
  DWORD RunCalendar() {
    std::string commandLine = "\"" + folder + "\\KelvoCalendar.exe\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
      return 999;
    test::QuestionBoxWatcher watcher(test::QuestionBoxWatcher::Answer::Yes, process.dwProcessId);
    DWORD code = WaitForSingleObject(process.hProcess, 90000) == WAIT_OBJECT_0 ? 998 : 997;
    TerminateProcess(process.hProcess, code);
    GetExitCodeProcess(process.hProcess, &code);
    questions = watcher.Seen().size();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }
  std::string folder;
  size_t questions = 0;
};

TEST_F(SignedUpdateTest, OnlyASignedReleaseWithThePayloadItNamesIsInstalled) {
  const std::string manifest = Served("update.txt"), signature = Served("update.txt.sig");
  const std::string payload = Served("KelvoCalendar2.exe");
  std::string changed = manifest;
  changed[changed.find("1.0.1") + 4] = '2';
  const struct {
    const char* what;
    std::string manifest, signature, payload;  // an empty signature is not served
    DWORD exitCode;                            // 4: no manifest taken; 0: the update ran
  } cases[] = {
      {"unsigned", manifest, "", payload, 4},
      {"one byte changed after signing", changed, signature, payload, 4},
      {"signed by another key", manifest, Served("update.txt.other-sig"), payload, 4},
      {"payload changed after signing", manifest, signature, payload + "!", 0},
  };
  for (const auto& c : cases) {
    server::Serve(kSite + "update.txt", c.manifest);
    server::Unserve(kSite + "update.txt.sig");
    if (!c.signature.empty()) server::Serve(kSite + "update.txt.sig", c.signature);
    server::Serve(kSite + "KelvoCalendar2.exe", c.payload);
    EXPECT_EQ(RunCalendar(), c.exitCode) << c.what;
    EXPECT_EQ(questions, c.exitCode == 0 ? 1u : 0u) << c.what;
    test::ForgetDate();
  }
  Sleep(1000);
  for (const char* name : {"payload-started.txt", "KelvoCalendar2.exe", "KelvoCalendar2.exe.td"})
    EXPECT_FALSE(test::Exists(folder + "\\" + name)) << name;

  server::Serve(kSite + "KelvoCalendar2.exe", payload);
  EXPECT_EQ(RunCalendar(), 0u) << ReadBytes(folder + "\\host-log.txt");
  EXPECT_EQ(questions, 1u);
  ASSERT_TRUE(test::WaitForFile(folder + "\\payload-started.txt", 30000));
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar2.exe"), payload);
}

}  // namespace
}  // namespace kelvo
