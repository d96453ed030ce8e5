// kelvo-publish as a maker runs it: refusals, and a site that verifies until it changes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class PublishTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir);
    Write("KelvoCalendar2.exe", "the new program");
    ASSERT_EQ(Publish("keygen keys"), 0) << output;
  }
  void TearDown() override { fs::remove_all(dir); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  // The tool's exit status, run in `dir`; its stdout and stderr in `output`.
  int Publish(const std::string& arguments) {
    const std::string command = "cd " + dir.string() + " && " KELVO_PUBLISH_PATH " " + arguments;
    const int status = std::system((command + " >out 2>&1").c_str());
    output = (std::ostringstream() << std::ifstream(dir / "out").rdbuf()).str();
    return WEXITSTATUS(status);
  }

  const fs::path dir = fs::temp_directory_path() / ("kelvo-publish-" + std::to_string(getpid()));
  std::string output;
};

TEST_F(PublishTest, RefusesBadInputWithOneLineAndStatusTwoAndWritesNothing) {
  const std::string release = "release --unsigned --key keys/update-key.pem --out site --version ";
  const std::string announce = "announce --key keys/update-key.pem --out site list.txt";
  const std::string holidays = "holidays --key keys/update-key.pem --out site list.txt";
  const struct {
    const char* list;  // list.txt, for the announce cases
    std::string arguments;
  } cases[] = {
      {"",
       "release --key keys/update-key.pem --out site --version 1.0.1 --base-url http://h/ "
       "KelvoCalendar2.exe"},  // not signed
      {"", release + "1.0.x --base-url http://h/files/ KelvoCalendar2.exe"},
      {"", release + "1.0.1 --base-url ftp://h/files/ KelvoCalendar2.exe"},
      {"", release + "1.0.1 --base-url http://h/files/ missing.exe"},
      {"", release + "1.0.1 --base-url http://h/files/ list.txt"},
      {"", release + "1.0.1 --base-url http://h/文件한/ KelvoCalendar2.exe"},
      {"",
       "release --key keys/update-key.pub.pem --out site --version 1.0.1 "
       "--base-url http://h/files/ KelvoCalendar2.exe"},
      {"标题#1\thttp://h/a.html\n", announce},
      {"标题$1\thttp://h/a.html\n", announce},
      {"标题\tC:\\Windows\\calc.exe\n", announce},
      {"价格 한\thttp://h/a.html\n", announce},
      {"no tab here\n", announce},
      {"", announce},
      {"KELVO-HOLIDAYS 1\nSERIAL 1\nYEAR 2027\n2027-01-04 班 元旦\n", holidays},
      {"", "keygen keys"},
      {"", "publish everything"},
  };
  for (const auto& c : cases) {
    Write("list.txt", c.list);
    EXPECT_EQ(Publish(c.arguments), 2) << c.arguments << "\n" << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_FALSE(fs::exists(dir / "site")) << c.arguments;
  }
}

TEST_F(PublishTest, PublishedSiteVerifiesUntilAByteChanges) {
  Write("list.txt", "欢迎\thttp://127.0.0.1/welcome.html\r\n\r\n更新日志\thttps://h/c.html\r\n");
  const std::string release =
      "release --unsigned --key keys/update-key.pem --base-url http://h/files/ --out site ";
  ASSERT_EQ(Publish(release + "--version 1.0.1 list.txt KelvoCalendar2.exe"), 0) << output;
  ASSERT_EQ(Publish("announce --key keys/update-key.pem --out site list.txt"), 0) << output;
  const std::string holidays = "holidays --key keys/update-key.pem --out site holidays.txt";
  Write("holidays.txt", "KELVO-HOLIDAYS 1\r\nSERIAL 9\r\nYEAR 2027\r\n2027-01-01 休 元旦\r\n");
  ASSERT_EQ(Publish(holidays), 0) << output;
  EXPECT_EQ(Publish(holidays), 2) << "a SERIAL not above the site's";
  for (const char* old : {"1.0.1", "1.0.1.0", "1.0"})
    EXPECT_EQ(Publish(release + "KelvoCalendar2.exe --version " + old), 2)
        << old << ": not above the site's";
  const std::string verify = "verify --pub keys/update-key.pub.pem site";
  ASSERT_EQ(Publish(verify), 0) << output;
  EXPECT_NE(output.find("good\nversion 1.0.1\n"), std::string::npos) << output;
  EXPECT_NE(output.find("link 更新日志 -> https://h/c.html\n"), std::string::npos);
  EXPECT_NE(output.find("good\nholidays SERIAL 9: years 2027, 1 marked days\n"), std::string::npos);
  Write("site/files/KelvoCalendar2.exe", "the new program!");
  EXPECT_EQ(Publish(verify), 1) << output;
  Write("site/files/KelvoCalendar2.exe", "the new program");
  Write("site/myapp/KelvoCalendar/GGList.txt", "x$http://h/#");
  EXPECT_EQ(Publish(verify), 1) << output;
}

}  // namespace
