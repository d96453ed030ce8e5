// CheckForUpdate against the loopback server, the real registry and a real
// question box answered by key presses from a watcher thread. Every case
// here answers No; the accepted update runs end to end in its own test.
#include "update/win32/mod_main.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "calendar/date.h"
#include "tests/support/test_server.h"
#include "tests/update/win32/question_box.h"

namespace kelvo {
namespace {

namespace server = test_server;
using test::QuestionBoxWatcher;

constexpr const char* kManifestPath = "myapp/KelvoCalendar/update.txt";

std::string ShortDate(Date date) {
  SYSTEMTIME st = {};
  st.wYear = static_cast<WORD>(date.Year);
  st.wMonth = static_cast<WORD>(date.Month);
  st.wDay = static_cast<WORD>(date.Day);
  char text[128] = {};
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
  return text;
}

Date Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {static_cast<int16_t>(now.wYear), static_cast<int16_t>(now.wMonth),
          static_cast<int16_t>(now.wDay)};
}

std::optional<std::string> StoredDate() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KelvoCalendar", 0, KEY_READ, &key) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  char data[260] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  const LONG status =
      RegQueryValueExA(key, "NoUpdateDate", nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  return std::string(data);
}

void StoreDate(const std::string& text) {
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KelvoCalendar", &key);
  RegSetValueExA(key, "NoUpdateDate", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

void ForgetDate() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\KelvoCalendar", 0, KEY_SET_VALUE, &key) ==
      ERROR_SUCCESS) {
    RegDeleteValueA(key, "NoUpdateDate");
    RegCloseKey(key);
  }
}

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server::Available()) << "run through tests/support/with_http_server";
    ForgetDate();
    server::Unserve(kManifestPath);
    server::Unserve("_routes");
  }
  void TearDown() override { ForgetDate(); }

  // One check, answering No to any question; returns the check's result.
  bool Check() {
    QuestionBoxWatcher watcher(QuestionBoxWatcher::Answer::No);
    const bool result = CheckForUpdateOn(server::Host(), [this] { ++unloads; });
    boxes = watcher.Seen();
    return result;
  }

  int unloads = 0;
  std::vector<test::SeenBox> boxes;
};

TEST_F(UpdateCheckTest, SameVersionSucceedsWithoutAsking) {
  server::Serve(kManifestPath, "Version:1.0.0\r\ndown|x|y\r\n");
  EXPECT_TRUE(Check());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(StoredDate(), std::nullopt);
  EXPECT_TRUE(server::WasRequested("/myapp/KelvoCalendar/update.txt"));
}

TEST_F(UpdateCheckTest, LabelPlaysNoPart) {
  server::Serve(kManifestPath, "1.0.1   1.0.0  \r\n");
  EXPECT_TRUE(Check());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, MissingManifestFails) {
  EXPECT_FALSE(Check());
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(server::WasRequested("/myapp/KelvoCalendar/update.txt"));
}

TEST_F(UpdateCheckTest, EmptyManifestFails) {
  server::Serve(kManifestPath, "");
  EXPECT_FALSE(Check());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, OversizedManifestFailsWithoutAsking) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n" + std::string(2 * 1024 * 1024, 'x'));
  EXPECT_FALSE(Check());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, NewVersionAsksAndStoresTodayFirst) {
  server::Serve(kManifestPath, "Version:1.0.1\r\ndown|x|y\r\n");
  EXPECT_TRUE(Check());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, L"提示");
  EXPECT_EQ(boxes[0].text, L"发现有新版本，是否现在更新？");
  EXPECT_TRUE(boxes[0].hasYes);
  EXPECT_TRUE(boxes[0].hasNo);
  EXPECT_FALSE(boxes[0].hasCancel);
  EXPECT_TRUE(boxes[0].questionIcon);
  EXPECT_EQ(unloads, 0) << "No leaves the calendar alone";
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
}

TEST_F(UpdateCheckTest, SecondCheckAfterNoDoesNotAskAgain) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n");
  EXPECT_TRUE(Check());
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Check());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
}

TEST_F(UpdateCheckTest, FourteenDaysAfterTheLastQuestionDoesNotAsk) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n");
  const std::string stored = ShortDate(AddDays(Today(), -14));
  StoreDate(stored);
  EXPECT_TRUE(Check());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(StoredDate(), stored);
}

TEST_F(UpdateCheckTest, FifteenDaysAfterTheLastQuestionAsksAgain) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n");
  StoreDate(ShortDate(AddDays(Today(), -15)));
  EXPECT_TRUE(Check());
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
}

TEST_F(UpdateCheckTest, FutureDateDoesNotAsk) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n");
  StoreDate(ShortDate(AddDays(Today(), 30)));
  EXPECT_TRUE(Check());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(UpdateCheckTest, UnreadableDateAsks) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n");
  StoreDate("不是日期");
  EXPECT_TRUE(Check());
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
}

TEST_F(UpdateCheckTest, LowerPublishedVersionAsksToo) {
  server::Serve(kManifestPath, "Version:0.9.0\r\n");
  EXPECT_TRUE(Check());
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(UpdateCheckTest, LfOnlyManifestIsOneLineAndAsks) {
  server::Serve(kManifestPath, "Version:1.0.0\ndown|x|y\n");
  EXPECT_TRUE(Check());
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(UpdateCheckTest, ManifestCutShortIsNoManifest) {
  server::Serve("_routes", "/myapp/KelvoCalendar/update.txt /_/cut/100/40\n");
  EXPECT_FALSE(Check());
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
}  // namespace kelvo
