#pragma once
// The serial master controller's port on Qt Serial Port. The main window owns one; open() and
// close() come from its menu, and every chunk of received text arrives as chunkReceived on the
// UI thread, in whatever pieces the line delivered it. A failed open leaves the port closed and
// errorString() says why; showing it is the caller's business. A line that goes away under an
// open port (an adapter pulled out) closes it, with closed emitted as for close().
// The line settings default to the controller's: 19200 baud, 8 data bits, no parity, one stop
// bit, no flow control, with DTR and RTS held inactive.
#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

namespace velmoria {

struct SerialSettings {
  QString portName;  // a device path; empty means defaultSerialPortName()
  qint32 baudRate = 19200;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
  QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
};

// Where "COM1" has no meaning: the first of /dev/ttyUSB0, /dev/ttyACM0 and /dev/ttyS0 that
// exists (a USB serial adapter first), or /dev/ttyUSB0 when none does.
QString defaultSerialPortName();

class QtSerialPort : public QObject {
  Q_OBJECT
 public:
  explicit QtSerialPort(QObject* parent = nullptr);
  ~QtSerialPort() override;

  const SerialSettings& settings() const { return m_settings; }
  // Takes effect at the next open().
  void setSettings(const SerialSettings& settings) { m_settings = settings; }
  // The port that open() uses: the settings' name or the default.
  QString portName() const;

  bool open();
  void close();
  bool isOpen() const { return m_port.isOpen(); }
  QString errorString() const { return m_error; }

 Q_SIGNALS:
  void opened();
  void closed();
  void chunkReceived(const QByteArray& chunk);

 private:
  void onError(QSerialPort::SerialPortError error);

  QSerialPort m_port;
  SerialSettings m_settings;
  QString m_error;
  bool m_closePending = false;
};

}  // namespace velmoria
