#include "frame/file_bytes.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/data_files.h"

namespace velmoria {
namespace {

TEST(ReadFileBytes, gives_a_regular_file_whole) {
  test::TempDataFolder dir;
  dir.writeBytes("a.bin", std::string("ab\0\r\ncd", 7));
  const auto bytes = readFileBytes(dir.root() / "a.bin");
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, std::string("ab\0\r\ncd", 7));
}

TEST(ReadFileBytes, refuses_what_is_not_a_readable_regular_file) {
  test::TempDataFolder dir;
  // A FIFO with no writer would block an open for ever; a folder opens but cannot be read;
  // /proc/self/mem opens and fails with EIO on the first read, which the stream buffer throws.
  const auto fifo = dir.root() / "pipe.wav";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(readFileBytes(fifo));
  EXPECT_FALSE(readFileBytes(dir.root()));
  EXPECT_FALSE(readFileBytes(dir.root() / "missing.dat"));
  EXPECT_FALSE(readFileBytes("/proc/self/mem"));
  EXPECT_FALSE(readFileBytes("/dev/zero"));
}

}  // namespace
}  // namespace velmoria
