// corvane-cli run with a terminal on standard input: raw mode (keys arrive without a line end),
// a line feed typed as carriage return, Ctrl-E ends the run, and the terminal is restored.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace {

const std::string Program = CORVANE_BINARY_DIR "/corvane-cli";
const std::string EchoProgram = CORVANE_BINARY_DIR "/tests/cli/programs/kbd_poll.dmp";

class TTerminalRun {
public:
  TTerminalRun() {
    termios mode{};
    cfmakeraw(&mode);  // start from a known mode, then make it a cooked terminal
    mode.c_iflag |= ICRNL;
    mode.c_lflag |= ICANON | ECHO | ISIG;
    mode.c_oflag = 0;  // bytes pass unchanged on the way out
    mode.c_cc[VMIN] = 1;
    Pid = forkpty(&Master, nullptr, &mode, nullptr);
    if (Pid == 0) {
      setenv("LC_ALL", "C", 1);
      setenv("LANGUAGE", "", 1);
      execl(Program.c_str(), Program.c_str(), "run", "--load-dump", EchoProgram.c_str(), "--pc", "101",
            "--regs", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~TTerminalRun() {
    if (Pid > 0 && !Exited) {
      kill(Pid, SIGKILL);
      waitpid(Pid, nullptr, 0);
    }
    if (Master >= 0) close(Master);
  }

  void Type(const std::string& keys) { ASSERT_EQ(write(Master, keys.data(), keys.size()), ssize_t(keys.size())); }

  // Reads the terminal until text has appeared (true); 60 seconds without it is a failure.
  bool WaitFor(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Output.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pollfd p{Master, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char buffer[256];
      const ssize_t n = read(Master, buffer, sizeof buffer);
      if (n <= 0) return Output.find(text) != std::string::npos;
      Output.append(buffer, std::size_t(n));
    }
    return true;
  }

  int ExitStatus() {
    int status = 0;
    waitpid(Pid, &status, 0);
    Exited = true;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  int Master = -1;
  pid_t Pid = -1;
  bool Exited = false;
  std::string Output;
};

TEST(TerminalTest, RawKeysLineFeedAsReturnAndCtrlE) {
  TTerminalRun run;
  ASSERT_GT(run.Pid, 0);
  ASSERT_TRUE(run.WaitFor("Ctrl-E ends the run")) << run.Output;

  // Raw: the keys reach the program without a line end; the program echoes them.
  run.Type("ab");
  ASSERT_TRUE(run.WaitFor("ab")) << run.Output;
  termios during{};
  ASSERT_EQ(tcgetattr(run.Master, &during), 0);
  EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0u);

  // A line feed is typed as a carriage return.
  run.Type("\n");
  ASSERT_TRUE(run.WaitFor("ab\r")) << run.Output;

  run.Type("\x05");  // Ctrl-E
  ASSERT_TRUE(run.WaitFor("STOP=stop")) << run.Output;
  EXPECT_TRUE(run.WaitFor("ended by Ctrl-E")) << run.Output;
  EXPECT_EQ(run.ExitStatus(), 4);

  termios after{};
  ASSERT_EQ(tcgetattr(run.Master, &after), 0);
  EXPECT_EQ(after.c_lflag & (ICANON | ECHO), unsigned(ICANON | ECHO)) << "terminal mode restored";
}

}  // namespace
