// CheckForUpdate against the loopback server, the real registry and a real
// question box answered by key presses from a watcher thread. Every case
// here answers No; the accepted update runs end to end in its own test.
#include "update/win32/mod_main.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "calendar/date.h"
#include "tests/support/test_server.h"
#include "tests/support/update_date_registry.h"
#include "tests/update/win32/question_box.h"

namespace kelvo {
namespace {

namespace server = test_server;
using test::ForgetDate;
using test::QuestionBoxWatcher;
using test::ShortDate;
using test::StoreDate;
using test::StoredDate;
using test::Today;

constexpr const char* kManifestPath = "myapp/KelvoCalendar/update.txt";
// The smallest script the program offers: a run line of its own download.
const std::string kScript = "down|http://h/x.exe|apppath:\r\nrun|apppath:x.exe\r\n";

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

// Same version (the label plays no part), or a manifest that is no update
// (LF line ends: one long line): success, no question, no date. Missing,
// empty, oversized or cut-short manifests: failure, no question.
TEST_F(UpdateCheckTest, ManifestsThatAskNothing) {
  const struct {
    const char* name;
    std::optional<std::string> manifest;  // none: nothing served
    std::optional<std::string> route;     // none: served as it is
    bool result;
  } rows[] = {
      {"same version", "Version:1.0.0\r\ndown|x|y\r\n", std::nullopt, true},
      {"label plays no part", "1.0.1   1.0.0  \r\n" + kScript, std::nullopt, true},
      {"LF line ends", "Version:1.0.1\ndown|http://h/x.exe|apppath:\nrun|apppath:x.exe\n",
       std::nullopt, true},
      {"missing", std::nullopt, std::nullopt, false},
      {"empty", "", std::nullopt, false},
      {"oversized", "Version:1.0.1\r\n" + std::string(2 * 1024 * 1024, 'x'), std::nullopt, false},
      {"cut short", std::nullopt, "/myapp/KelvoCalendar/update.txt /_/cut/100/40\n", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    server::Unserve(kManifestPath);
    server::Unserve("_routes");
    if (row.manifest) server::Serve(kManifestPath, *row.manifest);
    if (row.route) server::Serve("_routes", *row.route);
    EXPECT_EQ(Check(), row.result);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(StoredDate(), std::nullopt);
  }
  EXPECT_TRUE(server::WasRequested("/myapp/KelvoCalendar/update.txt"));
}

TEST_F(UpdateCheckTest, NewVersionAsksAndStoresTodayFirst) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n" + kScript);
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
  server::Serve(kManifestPath, "Version:1.0.1\r\n" + kScript);
  EXPECT_TRUE(Check());
  EXPECT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(Check());
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
}

// 14 days after the last question: no question; 15: asks and stores today;
// a future date: no question; an unreadable date: asks.
TEST_F(UpdateCheckTest, StoredDateDecidesWhetherToAskAgain) {
  server::Serve(kManifestPath, "Version:1.0.1\r\n" + kScript);
  const struct {
    std::string stored;
    size_t questions;
  } rows[] = {{ShortDate(AddDays(Today(), -14)), 0},
              {ShortDate(AddDays(Today(), -15)), 1},
              {ShortDate(AddDays(Today(), 30)), 0},
              {"不是日期", 1}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.stored);
    StoreDate(row.stored);
    EXPECT_TRUE(Check());
    EXPECT_EQ(boxes.size(), row.questions);
    EXPECT_EQ(StoredDate(), row.questions ? ShortDate(Today()) : row.stored);
  }
}

// Any other version asks, lower too.
TEST_F(UpdateCheckTest, OtherVersionsAsk) {
  for (const char* version : {"Version:0.9.0\r\n", "Version:1.0.0.1\r\n"}) {
    SCOPED_TRACE(version);
    ForgetDate();
    server::Serve(kManifestPath, version + kScript);
    EXPECT_TRUE(Check());
    EXPECT_EQ(boxes.size(), 1u);
  }
}

}  // namespace
}  // namespace kelvo
