// kelvo-publish as a maker runs it: refusals, and a published site that
// verifies until something under it changes.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class PublishTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("kelvo-publish-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    Write("KelvoCalendar2.exe", "the new program");
    Write("readme.txt", "notes");
    ASSERT_EQ(Run("keygen keys"), 0) << output;
  }
  void TearDown() override { fs::remove_all(dir); }

  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
  // The tool's exit status; its stdout and stderr land in `output`.
  int Run(const std::string& arguments) {
    const std::string command =
        "cd '" + dir.string() + "' && " KELVO_PUBLISH_PATH " " + arguments + " >out.txt 2>&1";
    const int status = std::system(command.c_str());
    std::ifstream in(dir / "out.txt");
    std::ostringstream text;
    text << in.rdbuf();
    output = text.str();
    return WEXITSTATUS(status);
  }

  fs::path dir;
  std::string output;
};

TEST_F(PublishTest, RefusesBadInputWithOneLineAndStatusTwo) {
  const std::string release = "release --key keys/update-key.pem --out site ";
  const std::string announce = "announce --key keys/update-key.pem --out site list.txt";
  const struct {
    const char* list;  // list.txt for the announce cases
    std::string arguments;
  } cases[] = {
      {"", release + "--version 1.0.x --base-url http://h/files/ KelvoCalendar2.exe"},
      {"", release + "--version 1.0.1.2.3 --base-url http://h/files/ KelvoCalendar2.exe"},
      {"", release + "--version 1.0.1 --base-url ftp://h/files/ KelvoCalendar2.exe"},
      {"", release + "--version 1.0.1 --base-url http://h/files/ missing.exe"},
      {"", release + "--version 1.0.1 --base-url http://h/files/ readme.txt"},
      {"", release + "--version 1.0.1 --base-url http://h/文件한/ KelvoCalendar2.exe"},
      {"",
       "release --key keys/update-key.pub.pem --out site --version 1.0.1 "
       "--base-url http://h/files/ KelvoCalendar2.exe"},
      {"标题#1\thttp://h/a.html\n", announce},
      {"标题$1\thttp://h/a.html\n", announce},
      {"标题\tC:\\Windows\\calc.exe\n", announce},
      {"标题\t\\\\host\\share\\x.exe\n", announce},
      {"价格 한\thttp://h/a.html\n", announce},
      {"no tab here\n", announce},
      {"", announce},
      {"", "keygen keys"},
      {"", "publish everything"},
  };
  for (const auto& c : cases) {
    Write("list.txt", c.list);
    EXPECT_EQ(Run(c.arguments), 2) << c.arguments << "\n" << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_FALSE(fs::exists(dir / "site")) << c.arguments;
  }
}

TEST_F(PublishTest, PublishedSiteVerifiesUntilAByteChanges) {
  Write("list.txt",
        "欢迎使用\thttp://127.0.0.1/welcome.html\r\n\r\n更新日志\thttps://h/c.html\r\n");
  ASSERT_EQ(Run("release --key keys/update-key.pem --version 1.0.1 --base-url http://h/files/ "
                "--out site readme.txt KelvoCalendar2.exe"),
            0)
      << output;
  ASSERT_EQ(Run("announce --key keys/update-key.pem --out site list.txt"), 0) << output;
  ASSERT_EQ(Run("verify --pub keys/update-key.pub.pem site"), 0) << output;
  EXPECT_NE(output.find("version 1.0.1\n"), std::string::npos) << output;
  EXPECT_NE(output.find("run {program folder}\\KelvoCalendar2.exe\n"), std::string::npos);
  EXPECT_NE(output.find("link 更新日志 -> https://h/c.html\n"), std::string::npos);
  // Stock openssl reads the tool's signatures, and the tool reads openssl's.
  EXPECT_EQ(std::system(("cd '" + dir.string() +
                         "/site/myapp/KelvoCalendar' && openssl dgst -sha256 -verify "
                         "../../../keys/update-key.pub.pem -signature update.txt.sig update.txt "
                         ">/dev/null && openssl dgst -sha256 -sign ../../../keys/update-key.pem "
                         "-out GGList.txt.sig GGList.txt")
                            .c_str()),
            0);
  EXPECT_EQ(Run("verify --pub keys/update-key.pub.pem site"), 0) << output;

  Write("site/files/KelvoCalendar2.exe", "the new program!");
  EXPECT_EQ(Run("verify --pub keys/update-key.pub.pem site"), 1) << output;
  Write("site/files/KelvoCalendar2.exe", "the new program");
  Write("site/myapp/KelvoCalendar/GGList.txt", "x$http://h/#");
  EXPECT_EQ(Run("verify --pub keys/update-key.pub.pem site"), 1) << output;
  ASSERT_EQ(Run("keygen other"), 0);
  EXPECT_EQ(Run("verify --pub other/update-key.pub.pem site"), 1) << output;
}

TEST_F(PublishTest, DemoSiteIsPublishedWithTheTool) {
  EXPECT_EQ(Run("verify --pub " KELVO_SOURCE_DIR
                "/tools/demo-site/demo-key.pub.pem " KELVO_SOURCE_DIR "/tools/demo-site/site"),
            0)
      << output;
}

}  // namespace
