// The velmoria-drive program as a user runs it: exit status and messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef VELMORIA_DRIVE_EXE

namespace {

struct Result {
  int status = -1;
  std::string output;  // standard output and standard error together
};

Result runDrive(const std::string& args, bool withErrors = true) {
  // A private config folder: the user's own button map must not matter.
  const std::string command = "XDG_CONFIG_HOME=/nonexistent '" VELMORIA_DRIVE_EXE "' " + args +
                              (withErrors ? " 2>&1" : " 2>/dev/null");
  Result r;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return r;
  char buf[4096];
  for (size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) r.output.append(buf, n);
  const int raw = pclose(pipe);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

const std::string kFixture = std::string("--data '") + VELMORIA_TEST_DATA +
                             "' --vehicle train_test.dat --route line_test.dat --frames 16340";

std::filesystem::path tempFile(const std::string& name, const std::string& text) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("velmoria_drive_" + std::to_string(::getpid()) + "_" + name);
  std::ofstream(path) << text;
  return path;
}

TEST(DriveProgram, help_exits_0) {
  const auto r = runDrive("--help");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.output.find("Exit status"), std::string::npos);
}

TEST(DriveProgram, bad_arguments_exit_64_with_the_usage_line) {
  const auto r = runDrive("--vehicle train_test.dat");
  EXPECT_EQ(r.status, 64);
  EXPECT_NE(r.output.find("--route is missing"), std::string::npos);
  EXPECT_NE(r.output.find("usage: velmoria-drive"), std::string::npos);
}

TEST(DriveProgram, a_faulty_data_file_exits_2_with_its_message) {
  const auto r = runDrive(std::string("--data '") + VELMORIA_TEST_DATA +
                          "' --vehicle nothere.dat --route line_test.dat");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.output, "車両ファイルに誤りがあります\n");
}

TEST(DriveProgram, a_bad_script_line_exits_64_naming_file_and_line) {
  const auto script = tempFile("bad.txt", "0 start\n# fine\n100 jump\n");
  const auto r = runDrive(kFixture + " --script '" + script.string() + "'");
  std::filesystem::remove(script);
  EXPECT_EQ(r.status, 64);
  EXPECT_NE(r.output.find(script.string() + ":3: unknown command: jump"), std::string::npos)
      << r.output;
}

TEST(DriveProgram, summary_and_the_terminus_status) {
  const auto script = tempFile("short.txt", "0 start\n");
  const auto r =
      runDrive(kFixture + " --script '" + script.string() + "' --until 2.5 --until-terminus");
  std::filesystem::remove(script);
  EXPECT_EQ(r.status, 3);  // asked for the terminus, stopped at --until
  EXPECT_NE(r.output.find("simulated time: 2.500 s"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("terminus: not reached"), std::string::npos);
  EXPECT_NE(r.output.find("emergency brakes: 0"), std::string::npos);
}

TEST(DriveProgram, trace_on_standard_output_moves_the_summary_to_standard_error) {
  const auto r = runDrive(kFixture + " --until 0.3 --trace - --autopilot", false);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.output.rfind("t_ms,tick,clock,", 0), 0u);
  EXPECT_EQ(r.output.find("simulated time"), std::string::npos);
}

}  // namespace

#endif
