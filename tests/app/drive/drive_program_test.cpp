// The velmoria-drive program as a user runs it: exit status and messages.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/json_check.h"

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

std::string contentsOf(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(DriveProgram, a_refused_script_leaves_the_earlier_trace_and_record_alone) {
  // 桜川 (station 2) is passed, so the script's jump to it is refused after the route is read.
  const auto script = tempFile("jump.txt", "0 start\n9 station 2\n");
  const auto trace = tempFile("trace.csv", "an earlier drive\n");
  const auto record = tempFile("record.txt", "an earlier record\n");
  const auto r = runDrive(kFixture + " --script '" + script.string() + "' --trace '" +
                          trace.string() + "' --record '" + record.string() + "'");
  EXPECT_EQ(r.status, 64);
  EXPECT_NE(r.output.find(script.string() + ":2: the route has no station entry Sta2"),
            std::string::npos)
      << r.output;
  EXPECT_EQ(contentsOf(trace), "an earlier drive\n");
  EXPECT_EQ(contentsOf(record), "an earlier record\n");
  for (const auto& f : {script, trace, record}) std::filesystem::remove(f);
}

TEST(DriveProgram, report_writes_the_run_report_as_json) {
  const auto report = tempFile("report.json", "an earlier report\n");
  const auto r =
      runDrive(kFixture + " --autopilot --until-terminus --report '" + report.string() + "'");
  EXPECT_EQ(r.status, 0) << r.output;
  const std::string json = contentsOf(report);
  std::filesystem::remove(report);
  velmoria::test::JsonCheck check(json);
  EXPECT_TRUE(check.ok()) << check.error;
  for (const char* key :
       {"\"score\": ", "\"stations\": [", "\"name\": \"南台\"",
        "\"stop_error_cm\": ", "\"arrival_late_s\": ", "\"events\": []", "\"terminus\": true"})
    EXPECT_NE(json.find(key), std::string::npos) << key;
  // The summary is the same as without the report.
  EXPECT_NE(r.output.find("stations stopped: 3"), std::string::npos) << r.output;
}

TEST(DriveProgram, a_report_that_cannot_be_written_exits_1_before_the_drive) {
  const auto r = runDrive(kFixture + " --autopilot --report /nonexistent/dir/report.json");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("velmoria-drive: cannot write the report /nonexistent/dir/report.json"),
            std::string::npos)
      << r.output;
  EXPECT_EQ(r.output.find("simulated time"), std::string::npos);
}

TEST(DriveProgram, an_autopilot_that_cannot_stop_the_train_gives_up_with_exit_3) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("velmoria_drive_" + std::to_string(::getpid()) + "_weak");
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  for (const auto& e : std::filesystem::directory_iterator(VELMORIA_TEST_DATA))
    if (e.path().filename() != "train_test.dat")
      std::filesystem::create_symlink(e.path(), dir / e.path().filename());
  std::string vehicle = contentsOf(std::filesystem::path(VELMORIA_TEST_DATA) / "train_test.dat");
  vehicle.replace(vehicle.find("[BrakeRate]\r\n4.2"), 16, "[BrakeRate]\r\n0.01");
  std::ofstream(dir / "train_test.dat", std::ios::binary) << vehicle;
  const auto r = runDrive("--data '" + dir.string() +
                          "' --vehicle train_test.dat --route line_test.dat --frames 16340 "
                          "--autopilot --until-terminus");
  std::filesystem::remove_all(dir);
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.output.find("the autopilot cannot bring the train to its next stop; it gave up"),
            std::string::npos)
      << r.output;
}

}  // namespace

#endif
