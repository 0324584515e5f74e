#include "media/null/null_image_loader.h"

#include <gtest/gtest.h>

#include "support/data_files.h"

namespace velmoria {
namespace {

TEST(NullImageLoaderTest, reads_the_size_from_a_bmp_header) {
  test::TempDataFolder dir;
  dir.writeBmp("a.bmp", 40, 20);
  NullImageLoader loader;
  const auto first = loader.load(dir.root() / "a.bmp");
  const auto second = loader.load(dir.root() / "a.bmp");
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->width, 40);
  EXPECT_EQ(first->height, 20);
  EXPECT_NE(first->id, second->id);
}

TEST(NullImageLoaderTest, a_folder_a_missing_file_or_text_is_no_picture) {
  test::TempDataFolder dir;
  dir.writeBytes("note.bmp", "not a picture");
  NullImageLoader loader;
  EXPECT_FALSE(loader.load(dir.root()));
  EXPECT_FALSE(loader.load(dir.root() / "missing.bmp"));
  EXPECT_FALSE(loader.load(dir.root() / "note.bmp"));
}

}  // namespace
}  // namespace velmoria
