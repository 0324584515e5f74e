// The driver's bindings in the config folder: saved, read back by a fresh reader, and the
// defaults wherever nothing (or nothing readable) was saved.
#include "controls/bindings_store_qt.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace velmoria::controls {
namespace {

class BindingsStore : public ::testing::Test {
 protected:
  BindingsStore() : saved(qgetenv("XDG_CONFIG_HOME")) {
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
  }
  ~BindingsStore() override { qputenv("XDG_CONFIG_HOME", saved); }
  QTemporaryDir dir;
  QByteArray saved;
};

TEST_F(BindingsStore, lives_in_the_xdg_config_folder) {
  EXPECT_EQ(bindingsFile(), dir.path() + "/Velmoria/controls.conf");
}

TEST_F(BindingsStore, a_rebinding_saved_is_read_back) {
  Bindings b = Bindings::defaults();
  bindKey(b, Action::Horn, "H");
  bindKey(b, Action::Emergency, "Space");  // taken from the acknowledge
  bindKey(b, Action::Doors, ",");          // taken from the brake release: a comma as a key
  bindButton(b, Action::Doors, PadButton::LeftStick);
  b.powerAxis = AxisBinding{PadAxis::LeftY, -1};
  b.brakeAxis = AxisBinding{PadAxis::RightY, 1};
  ASSERT_TRUE(saveBindings(b));
  ASSERT_TRUE(QFile::exists(dir.path() + "/Velmoria/controls.conf"));

  const Bindings back = loadBindings();
  EXPECT_EQ(back, b);
  EXPECT_EQ(back.key(Action::Horn), "H");
  EXPECT_EQ(back.key(Action::Doors), ",");
  EXPECT_EQ(back.key(Action::BrakeRelease), "");
  EXPECT_EQ(back.key(Action::Acknowledge), "");
  EXPECT_EQ(back.button(Action::Doors), PadButton::LeftStick);
  EXPECT_EQ(back.powerAxis, (AxisBinding{PadAxis::LeftY, -1}));
  EXPECT_NE(back, Bindings::defaults());
}

TEST_F(BindingsStore, every_default_key_survives_the_file) {
  // "," "." "/" "-" and "Space" are the awkward ones for an INI file.
  ASSERT_TRUE(saveBindings(Bindings::defaults()));
  EXPECT_EQ(loadBindings(), Bindings::defaults());
}

TEST_F(BindingsStore, nothing_saved_reads_as_the_defaults) {
  EXPECT_EQ(loadBindings(), Bindings::defaults());
  EXPECT_FALSE(QFile::exists(bindingsFile()));  // reading writes nothing
}

TEST_F(BindingsStore, a_file_edited_into_nonsense_keeps_the_defaults_where_it_names_nothing) {
  QDir().mkpath(dir.path() + "/Velmoria");
  QFile f(bindingsFile());
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[keys]\nhorn=H\n[pad]\nhorn=triangle\npower_axis=+wheel\n\x01\x02garbage\n");
  f.close();
  const Bindings b = loadBindings();
  EXPECT_EQ(b.key(Action::Horn), "H");
  EXPECT_EQ(b.button(Action::Horn), PadButton::A);
  EXPECT_EQ(b.powerAxis, Bindings::defaults().powerAxis);
}

TEST_F(BindingsStore, an_unwritable_config_folder_is_reported) {
  // The folder the file would go in is a file.
  QFile blocker(dir.path() + "/Velmoria");
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  EXPECT_FALSE(saveBindings(Bindings::defaults()));
}

}  // namespace
}  // namespace velmoria::controls
