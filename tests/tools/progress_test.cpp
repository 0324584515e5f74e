// The generator's progress lines, read by the desktop program's progress dialog.
#include "progress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace demo {
namespace {

std::vector<std::string> linesOf(std::FILE* file) {
  std::rewind(file);
  std::vector<std::string> lines;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, file)) {
    std::string line(buffer);
    if (!line.empty() && line.back() == '\n') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

TEST(ProgressLines, name_each_stage_and_each_whole_percent_once_and_end_at_100) {
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  {
    Progress progress(false, out);
    progress.stage("line", 0.10);
    progress.update(0.5);   // 5 %
    progress.update(0.51);  // still 5 %: no line
    progress.stage("video", 0.90);
    progress.update(0.5);  // 10 + 45 = 55 %
    progress.update(1.0);  // 100 %
    progress.done();
  }
  EXPECT_EQ(linesOf(out), (std::vector<std::string>{"progress 0 line", "progress 5 line",
                                                    "progress 10 video", "progress 55 video",
                                                    "progress 100 video", "progress 100 done"}));
  std::fclose(out);
}

}  // namespace
}  // namespace demo
