#include "media/qt/qt_serial_port.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "media/qt/qt_serial_settings_dialog.h"
#include "media_test_support.h"

namespace velmoria {
namespace {

// A pseudo-terminal pair from socat: the port under test opens one end, the test writes to the
// other as the controller would.
class SerialPair : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!test::haveTool("socat")) GTEST_SKIP() << "socat is not installed";
    ours = QString::fromStdString((dir / "ours").string());
    theirs = QString::fromStdString((dir / "theirs").string());
    socat.start("socat", {"pty,raw,echo=0,link=" + ours, "pty,raw,echo=0,link=" + theirs});
    ASSERT_TRUE(socat.waitForStarted(5000));
    for (int i = 0; i < 100 && !(QFileInfo::exists(ours) && QFileInfo::exists(theirs)); ++i)
      QTest::qWait(20);
    ASSERT_TRUE(QFileInfo::exists(ours) && QFileInfo::exists(theirs));
  }
  void TearDown() override {
    if (socat.state() != QProcess::NotRunning) {
      socat.terminate();
      socat.waitForFinished(3000);
    }
  }
  void send(const QByteArray& bytes) {
    QFile other(theirs);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    other.write(bytes);
    other.close();
  }
  test::TempDir dir;
  QString ours, theirs;
  QProcess socat;
};

TEST_F(SerialPair, a_code_sent_by_the_controller_arrives_as_received_chunks) {
  QtSerialPort port;
  SerialSettings settings;
  settings.portName = ours;
  port.setSettings(settings);
  QSignalSpy opened(&port, &QtSerialPort::opened);
  QSignalSpy received(&port, &QtSerialPort::chunkReceived);
  ASSERT_TRUE(port.open()) << port.errorString().toStdString();
  EXPECT_EQ(opened.count(), 1);
  EXPECT_TRUE(port.isOpen());
  send("TSA55");
  QByteArray all;
  for (int i = 0; i < 50 && all.size() < 5; ++i) {
    if (received.isEmpty()) received.wait(100);
    while (!received.isEmpty()) all += received.takeFirst().at(0).toByteArray();
  }
  EXPECT_EQ(all, QByteArray("TSA55"));
  QSignalSpy closed(&port, &QtSerialPort::closed);
  port.close();
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(port.isOpen());
  port.close();  // closing a closed port says nothing
  EXPECT_EQ(closed.count(), 1);
}

TEST_F(SerialPair, a_line_that_goes_away_closes_the_port_once) {
  QtSerialPort port;
  SerialSettings settings;
  settings.portName = ours;
  port.setSettings(settings);
  ASSERT_TRUE(port.open()) << port.errorString().toStdString();
  QSignalSpy closed(&port, &QtSerialPort::closed);
  QSignalSpy received(&port, &QtSerialPort::chunkReceived);
  socat.terminate();  // the other end hangs up, as a pulled-out adapter does
  ASSERT_TRUE(socat.waitForFinished(3000));
  for (int i = 0; i < 100 && port.isOpen(); ++i) QTest::qWait(20);
  EXPECT_FALSE(port.isOpen());
  QTest::qWait(50);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_EQ(received.count(), 0);
}

TEST(SerialPort, defaults_to_19200_8n1_without_flow_control) {
  const SerialSettings s;
  EXPECT_EQ(s.baudRate, 19200);
  EXPECT_EQ(s.dataBits, QSerialPort::Data8);
  EXPECT_EQ(s.parity, QSerialPort::NoParity);
  EXPECT_EQ(s.stopBits, QSerialPort::OneStop);
  EXPECT_EQ(s.flowControl, QSerialPort::NoFlowControl);
  QtSerialPort port;
  EXPECT_EQ(port.portName(), defaultSerialPortName());
  const QString name = defaultSerialPortName();
  EXPECT_TRUE(name == "/dev/ttyUSB0" || name == "/dev/ttyACM0" || name == "/dev/ttyS0");
  if (name != "/dev/ttyUSB0") {
    EXPECT_TRUE(QFileInfo::exists(name));
  }
}

TEST(SerialPort, a_port_that_cannot_open_stays_closed_and_says_why) {
  QtSerialPort port;
  SerialSettings settings;
  settings.portName = "/nonexistent/ttyNothing";
  port.setSettings(settings);
  QSignalSpy opened(&port, &QtSerialPort::opened);
  EXPECT_FALSE(port.open());
  EXPECT_FALSE(port.isOpen());
  EXPECT_FALSE(port.errorString().isEmpty());
  EXPECT_EQ(opened.count(), 0);
}

TEST(SerialSettingsDialog, shows_the_settings_and_takes_a_typed_path) {
  SerialSettings start;
  start.portName = "/dev/pts/77";
  start.parity = QSerialPort::EvenParity;
  QtSerialSettingsDialog dialog(start);
  auto* port = dialog.findChild<QComboBox*>("port");
  auto* baud = dialog.findChild<QComboBox*>("baudRate");
  auto* stop = dialog.findChild<QComboBox*>("stopBits");
  auto* flow = dialog.findChild<QComboBox*>("flowControl");
  ASSERT_TRUE(port && baud && stop && flow);
  EXPECT_EQ(port->currentText(), "/dev/pts/77");
  EXPECT_EQ(baud->currentText(), "19200");
  EXPECT_EQ(dialog.settings().parity, QSerialPort::EvenParity);
  port->setCurrentText("/tmp/typed-path");
  baud->setCurrentText("9600");
  stop->setCurrentIndex(stop->findText("2"));
  flow->setCurrentIndex(flow->findData(QSerialPort::HardwareControl));
  const SerialSettings s = dialog.settings();
  EXPECT_EQ(s.portName, "/tmp/typed-path");
  EXPECT_EQ(s.baudRate, 9600);
  EXPECT_EQ(s.stopBits, QSerialPort::TwoStop);
  EXPECT_EQ(s.flowControl, QSerialPort::HardwareControl);
  EXPECT_EQ(s.dataBits, QSerialPort::Data8);
  auto* buttons = dialog.findChild<QDialogButtonBox*>("buttons");
  ASSERT_NE(buttons, nullptr);
  buttons->button(QDialogButtonBox::Cancel)->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  buttons->button(QDialogButtonBox::Ok)->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace velmoria
