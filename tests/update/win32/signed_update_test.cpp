// A program built with the maker's (throw-away) key, under Wine, against
// the loopback server seeded with a site signed by stock openssl: the
// signatures verify with CNG, and only signed files and hashed payloads
// are taken.
#include <windows.h>

#include <gtest/gtest.h>

#include "kelvo_version.h"
#include "net/win32/mod_gg.h"
#include "net/win32/signature_verifier.h"
#include "net/win32/update_key.h"
#include "tests/support/test_server.h"
#include "tests/support/update_date_registry.h"
#include "tests/support/win32_files.h"
#include "tests/update/win32/question_box.h"

namespace kelvo {
namespace {

namespace server = test_server;
using test::Exists;
using test::QuestionBoxWatcher;
using test::ReadBytes;

const std::string kSite = "myapp/KelvoCalendar/";

std::string Served(const std::string& name) {
  return ReadBytes(server::Root() + "\\myapp\\KelvoCalendar\\" + name);
}

TEST(SignatureVerifier, AcceptsOpensslSignaturesOfItsKeyOnly) {
  const auto verifier = SignatureVerifier::FromPem(BuiltInUpdateKey());
  ASSERT_TRUE(verifier);
  const std::string manifest = Served("update.txt");
  EXPECT_TRUE(verifier->Verifies(manifest, Served("update.txt.sig")));
  EXPECT_TRUE(verifier->Verifies(Served("GGList.txt"), Served("GGList.txt.sig")));
  std::string changed = manifest;
  changed[5] ^= 1;
  EXPECT_FALSE(verifier->Verifies(changed, Served("update.txt.sig")));
  EXPECT_FALSE(verifier->Verifies(manifest, Served("update.txt.other-sig")));
  EXPECT_FALSE(verifier->Verifies(manifest, Served("GGList.txt.sig")));
  const auto other = SignatureVerifier::FromPem(ReadBytes(test::WinePath(KELVO_TEST_OTHER_KEY)));
  ASSERT_TRUE(other);
  EXPECT_TRUE(other->Verifies(manifest, Served("update.txt.other-sig")));
  EXPECT_FALSE(other->Verifies(manifest, Served("update.txt.sig")));
}

bool ListArrives() {
  GGFetch fetch;
  fetch.Start(server::Url("/" + kSite + "GGList.txt"));
  for (int i = 0; i < 500 && fetch.InFlight() > 0; ++i) Sleep(10);
  return fetch.Loaded();
}

TEST(SignedAnnouncements, OnlyASignedListArrives) {
  EXPECT_TRUE(ListArrives());
  server::Serve(kSite + "GGList.txt.sig", Served("update.txt.sig"));
  EXPECT_FALSE(ListArrives());
  server::Unserve(kSite + "GGList.txt.sig");
  EXPECT_FALSE(ListArrives());
}

class SignedUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(server::Env("http_proxy").empty()) << "the server must answer as the proxy";
    test::ForgetDate();
    folder = test::NewFolder("kelvo signed");
    calendar = ReadBytes(test::WinePath(KELVO_TEST_HOST_PATH));
    test::WriteBytes(folder + "\\KelvoCalendar.exe", calendar);
    test::WriteBytes(folder + "\\KelvoCalendar.bak", "the previous version");
    manifest = Served("update.txt");
    signature = Served("update.txt.sig");
  }
  void TearDown() override {
    server::Serve(kSite + "update.txt", manifest);
    server::Serve(kSite + "update.txt.sig", signature);
    test::ForgetDate();
    test::RemoveFolder(folder);
  }

  // Runs the keyed stand-in calendar in its folder, answering Yes; its exit
  // code (0 after an accepted update, 4 when no manifest was taken).
  DWORD RunCalendar() {
    const std::string program = folder + "\\KelvoCalendar.exe";
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
      return 999;
    DWORD code = 998;
    {
      QuestionBoxWatcher watcher(QuestionBoxWatcher::Answer::Yes, process.dwProcessId);
      if (WaitForSingleObject(process.hProcess, 90000) != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 997);
      GetExitCodeProcess(process.hProcess, &code);
      questions = watcher.Seen().size();
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
  }

  std::string folder, calendar, manifest, signature;
  size_t questions = 0;
};

TEST_F(SignedUpdateTest, SignedReleaseInstallsAndStarts) {
  EXPECT_EQ(RunCalendar(), 0u) << ReadBytes(folder + "\\host-log.txt");
  EXPECT_EQ(questions, 1u);
  ASSERT_TRUE(test::WaitForFile(folder + "\\payload-started.txt", 30000));
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar2.exe"), Served("KelvoCalendar2.exe"));
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar.bak"));
}

TEST_F(SignedUpdateTest, ManifestWithoutItsKeysSignatureIsNotTaken) {
  std::string changed = manifest;
  changed[changed.find("1.0.1") + 4] = '2';
  const struct {
    const char* what;
    std::string manifest;
    std::optional<std::string> signature;
  } cases[] = {
      {"unsigned", manifest, std::nullopt},
      {"one byte changed after signing", changed, signature},
      {"signed by another key", manifest, Served("update.txt.other-sig")},
  };
  for (const auto& c : cases) {
    server::Serve(kSite + "update.txt", c.manifest);
    if (c.signature)
      server::Serve(kSite + "update.txt.sig", *c.signature);
    else
      server::Unserve(kSite + "update.txt.sig");
    EXPECT_EQ(RunCalendar(), 4u) << c.what;
    EXPECT_EQ(questions, 0u) << c.what;
    EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar.bak"), "the previous version") << c.what;
  }
}

TEST_F(SignedUpdateTest, PayloadChangedAfterSigningIsNeverInstalled) {
  const std::string payload = Served("KelvoCalendar2.exe");
  server::Serve(kSite + "KelvoCalendar2.exe", payload.substr(0, payload.size() - 1) + "!");
  EXPECT_EQ(RunCalendar(), 0u) << ReadBytes(folder + "\\host-log.txt");
  server::Serve(kSite + "KelvoCalendar2.exe", payload);
  EXPECT_EQ(questions, 1u);
  Sleep(1000);
  EXPECT_FALSE(Exists(folder + "\\payload-started.txt"));
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar2.exe"));
  EXPECT_FALSE(Exists(folder + "\\KelvoCalendar2.exe.td"));
  EXPECT_EQ(ReadBytes(folder + "\\KelvoCalendar.exe"), calendar);
}

}  // namespace
}  // namespace kelvo
