// CheckForUpdate against the loopback server, the real registry and a real
// question box answered No. The accepted update runs in the end-to-end test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/update_date_registry.h"
#include "tests/support/wine_testing.h"
#include "tests/update/win32/question_box.h"
#include "update/win32/mod_main.h"

namespace kelvo {
namespace {

using namespace test;

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ForgetDate();
    Serve("myapp/KelvoCalendar/update.txt", "Version:1.0.1\r\ndown|x|y\r\n");
  }
  void TearDown() override { ForgetDate(); }

  // One check answering No; the boxes it showed.
  static std::vector<SeenBox> Check() {
    QuestionBoxWatcher watcher('N');
    EXPECT_TRUE(CheckForUpdateOn(ServerUrl("").substr(7), [] { ADD_FAILURE() << "unloaded"; }));
    return watcher.Seen();
  }
};

TEST_F(UpdateCheckTest, NewVersionAsksYesOrNoOnceAndStoresToday) {
  const std::vector<SeenBox> boxes = Check();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].title, L"提示");
  EXPECT_EQ(boxes[0].text, L"发现有新版本，是否现在更新？");
  EXPECT_TRUE(boxes[0].yesAndNoOnly);
  EXPECT_TRUE(boxes[0].questionIcon);
  EXPECT_EQ(StoredDate(), ShortDate(Today()));
  EXPECT_TRUE(Check().empty()) << "asked again on the same day";
}

// 14 days after the last question: none; 15: asks and stores today; a
// future date: none; a text that is no date: asks.
TEST_F(UpdateCheckTest, StoredDateDecidesWhetherToAskAgain) {
  const struct {
    std::string stored;
    bool asks;
  } rows[] = {{ShortDate(AddDays(Today(), -14)), false},
              {ShortDate(AddDays(Today(), -15)), true},
              {ShortDate(AddDays(Today(), 30)), false},
              {"not a date", true},
              {"2024/13/45", true}};
  for (const auto& row : rows) {
    StoreDate(row.stored);
    EXPECT_EQ(Check().size(), row.asks ? 1u : 0u) << row.stored;
    EXPECT_EQ(StoredDate(), row.asks ? ShortDate(Today()) : row.stored) << row.stored;
  }
}

}  // namespace
}  // namespace kelvo
