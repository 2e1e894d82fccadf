// Wall-clock time of a whole process run by a benchmark, start-up included.
#pragma once
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

// Runs the program with the arguments, standard streams on /dev/null; seconds, or -1 when it
// could not start or did not exit with the expected status.
inline double TimedProcess(const std::string& program, const std::vector<std::string>& args, int expectedStatus = 0) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  for (int fd : {0, 1, 2}) posix_spawn_file_actions_addopen(&files, fd, "/dev/null", fd ? O_WRONLY : O_RDONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int error = posix_spawn(&pid, program.c_str(), &files, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&files);
  if (error != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  return WIFEXITED(status) && WEXITSTATUS(status) == expectedStatus ? took.count() : -1;
}
