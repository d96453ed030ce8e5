#include "tools/publish/authenticode_check.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace kelvo::publish {

bool AuthenticodeVerifies(const std::string& file, const std::string& caFile) {
  std::vector<std::string> words = {"osslsigncode", "verify", "-in", file};
  if (!caFile.empty()) words.insert(words.end(), {"-CAfile", caFile});
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  // Its report is long and the maker only needs the verdict.
  posix_spawn_file_actions_t quiet;
  posix_spawn_file_actions_init(&quiet);
  posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&quiet, 1, 2);
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &quiet, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&quiet);
  int status = 0;
  return !failed && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

}  // namespace kelvo::publish
