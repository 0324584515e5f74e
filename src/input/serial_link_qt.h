#pragma once
// The cab window's serial port (ComPort1) for the TS master controller: 19200 baud, 8 data
// bits, no parity, 1 stop bit, no flow control, DTR and RTS held inactive; the port name
// defaults to the first serial device present. Received chunks go to `onChunk` on the UI
// thread, as they arrive. Opening and closing tell the user with a message box. The settings
// last as long as the window; they are not stored. Owned by the cab window. UI thread.
#include <QObject>
#include <QSerialPort>
#include <functional>
#include <string>

#include "frontend/shell_hooks_qt.h"

class QWidget;

namespace velmoria {

struct SerialSettings {
  QString port;
  qint32 baud = 19200;
  QSerialPort::DataBits dataBits = QSerialPort::Data8;
  QSerialPort::Parity parity = QSerialPort::NoParity;
  QSerialPort::StopBits stopBits = QSerialPort::OneStop;
  QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
};

// /dev/ttyUSB0, /dev/ttyACM0 or /dev/ttyS0, whichever exists first ("COM1" means nothing here).
QString defaultSerialPort();

class SerialLink : public QObject {
  Q_OBJECT
 public:
  SerialLink(const ShellHooks& hooks, std::function<void(const std::string&)> onChunk);
  bool isOpen() const { return m_port.isOpen(); }
  void toggle(QWidget* parent);  // Connect1Click
  void closeIfOpen(QWidget* parent);
  void showSettings(QWidget* parent);  // Setup1Click
  SerialSettings& settings() { return m_settings; }

 private:
  void open(QWidget* parent);
  void close(QWidget* parent);

  const ShellHooks& m_hooks;
  std::function<void(const std::string&)> m_onChunk;
  QSerialPort m_port;
  SerialSettings m_settings;
};

}  // namespace velmoria
