// Runs test code or one of the built programs in a child process, with what must not touch the
// test process itself: its own working folder and environment, a file size limit (writes beyond
// it fail with EFBIG, as on a full disk), file permissions that bind even root, and an alarm so
// that a hang ends the child and fails the test instead of blocking it.
#pragma once
#include <fcntl.h>
#include <linux/capability.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct TChildOptions {
  std::string WorkDir;                                        // "" = the test's own
  std::vector<std::pair<std::string, std::string>> Env;       // set in the child
  std::vector<std::string> Unset;                             // removed in the child
  std::string Input;  // standard input (a few bytes; else empty)
  std::optional<rlim_t> FileSizeLimit;                        // bytes a file may grow to
  // With the limit: SIGXFSZ keeps its default action (it ends a process that does not ignore
  // it), as under a shell's "ulimit -f"; otherwise it is ignored and the write fails with EFBIG.
  bool FileSizeSignal = false;
  bool ObeyPermissions = false;  // root loses its right to ignore file permissions
  unsigned TimeoutSeconds = 30;
};

struct TChildResult {
  int Status = -1;  // exit status, -1 when ended by a signal
  int Signal = 0;   // the signal that ended it (SIGALRM: it did not finish in time)
  std::string Out, Err;
  bool TimedOut() const { return Signal == SIGALRM; }
};

namespace child_process {

// Without CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH and CAP_FOWNER, and not given back by an exec.
inline bool DropPermissionOverride() {
  if (::geteuid() != 0) return true;
  const int caps[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};
  for (int cap : caps)
    if (::prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0) return false;
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (int cap : caps) {
    data[0].effective &= ~(1u << cap);
    data[0].permitted &= ~(1u << cap);
    data[0].inheritable &= ~(1u << cap);
  }
  return ::syscall(SYS_capset, &header, data) == 0;
}

// In the child: everything of the options but the input and the alarm. False when it failed.
inline bool Prepare(const TChildOptions& o) {
  if (!o.WorkDir.empty() && ::chdir(o.WorkDir.c_str()) != 0) return false;
  for (const auto& [name, value] : o.Env) ::setenv(name.c_str(), value.c_str(), 1);
  for (const auto& name : o.Unset) ::unsetenv(name.c_str());
  if (o.FileSizeLimit) {
    ::signal(SIGXFSZ, o.FileSizeSignal ? SIG_DFL : SIG_IGN);  // stays so across exec
    rlimit lim{};
    ::getrlimit(RLIMIT_FSIZE, &lim);
    lim.rlim_cur = *o.FileSizeLimit;
    if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) return false;
  }
  return !o.ObeyPermissions || DropPermissionOverride();
}

inline void ReadAll(int outFd, int errFd, std::string& out, std::string& err) {
  pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
  std::string* targets[2] = {&out, &err};
  int open = 2;
  while (open > 0) {
    if (::poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        targets[i]->append(buffer, std::size_t(n));
      } else if (n == 0 || errno != EINTR) {
        ::close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace child_process

// Forks; the child prepares itself and calls body, whose result is its exit status (126: the
// options could not be applied). Standard output and error are collected.
inline TChildResult RunChild(const std::function<int()>& body, const TChildOptions& options = {}) {
  TChildResult result;
  int in[2], out[2], err[2];
  if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0) return result;
  std::fflush(nullptr);
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) ::close(fd);
    ::alarm(options.TimeoutSeconds);  // kept across exec: a hang ends with SIGALRM
    if (!child_process::Prepare(options)) ::_exit(126);
    const int status = body();
    std::fflush(nullptr);
    ::_exit(status);
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  if (pid < 0) {
    ::close(in[1]);
    ::close(out[0]);
    ::close(err[0]);
    return result;
  }
  // The input is small; a child that does not read it gets EPIPE, which is ignored here.
  const sighandler_t oldPipe = ::signal(SIGPIPE, SIG_IGN);
  const std::string& input = options.Input;
  for (std::size_t done = 0; done < input.size();) {
    const ssize_t n = ::write(in[1], input.data() + done, input.size() - done);
    if (n <= 0) break;
    done += std::size_t(n);
  }
  ::close(in[1]);
  ::signal(SIGPIPE, oldPipe);
  child_process::ReadAll(out[0], err[0], result.Out, result.Err);
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) result.Status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.Signal = WTERMSIG(status);
  return result;
}

// Runs a program with the arguments (no shell); 127 when it could not be started.
inline TChildResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                               const TChildOptions& options = {}) {
  return RunChild(
      [&] {
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        return 127;
      },
      options);
}

namespace child_process {

// Whether the process has a handler installed for the signal (SigCgt in /proc/PID/status).
inline bool CatchesSignal(pid_t pid, int signal) {
  const std::string path = "/proc/" + std::to_string(pid) + "/status";
  std::FILE* f = std::fopen(path.c_str(), "r");
  if (!f) return false;
  char line[256];
  unsigned long long caught = 0;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "SigCgt: %llx", &caught) == 1) break;
  std::fclose(f);
  return (caught >> (signal - 1)) & 1;
}

}  // namespace child_process

// Starts the program, waits until it has its handler for the signal installed (so the signal
// cannot end it before it has started), sends the signal and waits for the program's end. The
// result is that of a child that ends as the program did (a program ended by a signal gives
// Status 128 + the signal). Run within RunChild, so the options and the time limit apply; should
// the limit end the waiting child, the program goes with it.
inline TChildResult RunProgramUntilSignalled(const std::string& program, const std::vector<std::string>& args,
                                             const TChildOptions& options, int signal = SIGTERM) {
  return RunChild(
      [&] {
        const pid_t pid = ::fork();
        if (pid == 0) {
          ::prctl(PR_SET_PDEATHSIG, SIGKILL);
          std::vector<char*> argv{const_cast<char*>(program.c_str())};
          for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
          argv.push_back(nullptr);
          ::execv(program.c_str(), argv.data());
          ::_exit(127);
        }
        if (pid < 0) return 126;
        int status = 0;
        while (!child_process::CatchesSignal(pid, signal)) {
          if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
          ::poll(nullptr, 0, 5);  // a condition is waited for, a few milliseconds per look
        }
        ::kill(pid, signal);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      },
      options);
}
