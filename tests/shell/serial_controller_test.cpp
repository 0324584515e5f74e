// The TS master controller on the cab window's serial port, with a pseudo-terminal standing in
// for the controller: the test writes to the master side what the controller would send.
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "media/qt/qt_serial_settings_dialog.h"
#include "support/desktop_fixture.h"
#include "support/steps.h"

namespace velmoria {
namespace {

using test::DesktopFixture;
using test::processEvents;

class PseudoTerminal {
 public:
  PseudoTerminal() {
    char name[128] = {};
    if (openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0) m_path = name;
  }
  ~PseudoTerminal() { hangUp(); }
  // The controller's cable pulled out: the line goes away under the port.
  void hangUp() {
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
    m_master = m_slave = -1;
  }
  bool ok() const { return !m_path.isEmpty(); }
  const QString& slavePath() const { return m_path; }
  // What the controller sends, in one write.
  bool send(const std::string& code) {
    return ::write(m_master, code.data(), code.size()) == static_cast<ssize_t>(code.size());
  }

 private:
  int m_master = -1, m_slave = -1;
  QString m_path;
};

// Waits (pumping events) until the condition holds or two seconds pass.
bool waitUntil(const std::function<bool()>& condition) {
  QElapsedTimer timer;
  timer.start();
  while (!condition() && timer.elapsed() < 2000) processEvents(5);
  return condition();
}

class SerialControllerTest : public DesktopFixture {
 protected:
  // Runs Setup1 and, once its dialog is up, lets `edit` work on it and presses `button`.
  void setUp(const std::function<void(QtSerialSettingsDialog&)>& edit,
             QDialogButtonBox::StandardButton button) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, edit, button] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QtSerialSettingsDialog*>(top);
        if (!dialog || !dialog->isVisible()) continue;
        poll->stop();
        poll->deleteLater();
        edit(*dialog);
        dialog->findChild<QDialogButtonBox*>("buttons")->button(button)->click();
        return;
      }
    });
    poll->start(10);
    cab().action("Setup1")->trigger();
  }
  void pointAt(const QString& path) {
    setUp([&](QtSerialSettingsDialog& d) { d.findChild<QComboBox*>("port")->setCurrentText(path); },
          QDialogButtonBox::Ok);
  }
};

TEST_F(SerialControllerTest, the_settings_dialog_takes_a_typed_port_and_cancel_keeps_the_old_one) {
  choose();
  pointAt("/tmp/velmoria-no-such-port");
  EXPECT_EQ(cab().ComPort1().portName(), "/tmp/velmoria-no-such-port");
  // The controller's line settings stay as they were: 19200 baud, 8N1.
  EXPECT_EQ(cab().ComPort1().settings().baudRate, 19200);
  EXPECT_EQ(cab().ComPort1().settings().dataBits, QSerialPort::Data8);
  setUp([](QtSerialSettingsDialog& d) { d.findChild<QComboBox*>("port")->setCurrentText("/x"); },
        QDialogButtonBox::Cancel);
  EXPECT_EQ(cab().ComPort1().portName(), "/tmp/velmoria-no-such-port");
  EXPECT_FALSE(cab().ComPort1().isOpen());
}

TEST_F(SerialControllerTest, codes_from_the_controller_set_the_handle_before_the_first_start) {
  PseudoTerminal line;
  ASSERT_TRUE(line.ok());
  choose();
  ASSERT_EQ(poke(run()).handle.brakeStep, -8);  // a new run stands in emergency
  pointAt(line.slavePath());
  cab().action("Connect1")->trigger();
  ASSERT_TRUE(cab().ComPort1().isOpen()) << recorder.messages.join("|").toStdString();
  EXPECT_EQ(recorder.messages, QStringList{"Connect to controller."});

  // Line 3 of mascon.dat: the third power notch, brake released.
  ASSERT_TRUE(line.send("VMP03"));
  EXPECT_TRUE(waitUntil([&] { return poke(run()).handle.powerNotch == 3; }));
  EXPECT_EQ(poke(run()).handle.brakeStep, 0);
  EXPECT_EQ(panelText("PowerLabel"), "P3");
  EXPECT_EQ(app->values().windowTitle(), "VMP03");  // the raw text, for diagnosis

  // Line 9: the second brake step, power off.
  ASSERT_TRUE(line.send("VMB02"));
  EXPECT_TRUE(waitUntil([&] { return poke(run()).handle.brakeStep == -2; }));
  EXPECT_EQ(poke(run()).handle.powerNotch, 0);

  // Line 19, the reverser backward, is taken at a standstill.
  ASSERT_TRUE(line.send("VMRBK"));
  EXPECT_TRUE(waitUntil([&] { return poke(run()).handle.reverser == -1; }));

  cab().action("Connect1")->trigger();
  EXPECT_FALSE(cab().ComPort1().isOpen());
  EXPECT_EQ(recorder.messages,
            (QStringList{"Connect to controller.", "Disconnect from controller."}));
  // Once disconnected, the controller has no say.
  ASSERT_TRUE(line.send("VMP01"));
  processEvents(100);
  EXPECT_EQ(poke(run()).handle.powerNotch, 0);
  EXPECT_EQ(poke(run()).handle.brakeStep, -2);
}

TEST_F(SerialControllerTest, closing_the_window_disconnects_the_controller) {
  PseudoTerminal line;
  ASSERT_TRUE(line.ok());
  choose();
  pointAt(line.slavePath());
  cab().action("Connect1")->trigger();
  ASSERT_TRUE(cab().ComPort1().isOpen());
  QtSerialPort& port = cab().ComPort1();
  cab().close();
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(recorder.messages,
            (QStringList{"Connect to controller.", "Disconnect from controller."}));
}

TEST_F(SerialControllerTest, a_line_that_goes_away_is_reported_as_a_disconnect) {
  PseudoTerminal line;
  ASSERT_TRUE(line.ok());
  choose();
  pointAt(line.slavePath());
  cab().action("Connect1")->trigger();
  ASSERT_TRUE(cab().ComPort1().isOpen());
  line.hangUp();
  EXPECT_TRUE(waitUntil([&] { return !cab().ComPort1().isOpen(); }));
  EXPECT_EQ(recorder.messages,
            (QStringList{"Connect to controller.", "Disconnect from controller."}));
  // Connect then opens the port again rather than closing a port that is already shut.
  recorder.messages.clear();
  cab().action("Connect1")->trigger();
  EXPECT_FALSE(recorder.messages.contains("Disconnect from controller."));
}

TEST_F(SerialControllerTest, a_port_that_does_not_open_is_reported_and_stays_closed) {
  choose();
  pointAt("/nonexistent/ttyNothing");
  cab().action("Connect1")->trigger();
  EXPECT_FALSE(cab().ComPort1().isOpen());
  ASSERT_EQ(recorder.messages.size(), 1);
  const QString& text = recorder.messages[0];
  EXPECT_TRUE(text.startsWith("/nonexistent/ttyNothing: ")) << text.toStdString();
  EXPECT_GT(text.size(), QString("/nonexistent/ttyNothing: ").size());  // the reason follows
  EXPECT_EQ(recorder.exits, 0);
  // Connect again tries again rather than "closing" a port that never opened.
  cab().action("Connect1")->trigger();
  EXPECT_EQ(recorder.messages.size(), 2);
  EXPECT_FALSE(recorder.messages.contains("Disconnect from controller."));
}

}  // namespace
}  // namespace velmoria
