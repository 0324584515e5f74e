#include "media/qt/qt_serial_port.h"

#include <QFileInfo>

namespace velmoria {

QString defaultSerialPortName() {
  for (const char* candidate : {"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"})
    if (QFileInfo::exists(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
  return QStringLiteral("/dev/ttyUSB0");
}

QtSerialPort::QtSerialPort(QObject* parent) : QObject(parent) {
  connect(&m_port, &QSerialPort::readyRead, this, [this] {
    const QByteArray chunk = m_port.readAll();
    if (!chunk.isEmpty()) Q_EMIT chunkReceived(chunk);
  });
  connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialPort::onError);
}

QtSerialPort::~QtSerialPort() {
  // Closing at destruction is silent: nobody is left to tell.
  if (m_port.isOpen()) m_port.close();
}

QString QtSerialPort::portName() const {
  return m_settings.portName.isEmpty() ? defaultSerialPortName() : m_settings.portName;
}

bool QtSerialPort::open() {
  if (m_port.isOpen()) return true;
  m_error.clear();
  m_port.setPortName(portName());
  if (!m_port.open(QIODevice::ReadWrite)) {
    m_error = m_port.errorString();
    return false;
  }
  const bool configured =
      m_port.setBaudRate(m_settings.baudRate) && m_port.setDataBits(m_settings.dataBits) &&
      m_port.setParity(m_settings.parity) && m_port.setStopBits(m_settings.stopBits) &&
      m_port.setFlowControl(m_settings.flowControl);
  if (!configured) {
    m_error = m_port.errorString();
    m_port.close();
    return false;
  }
  // The controller draws no power from the handshake lines; a pseudo-terminal has none, so a
  // failure here is not a failure to open.
  m_port.setDataTerminalReady(false);
  if (m_settings.flowControl != QSerialPort::HardwareControl) m_port.setRequestToSend(false);
  m_port.clearError();
  Q_EMIT opened();
  return true;
}

void QtSerialPort::close() {
  m_closePending = false;
  if (!m_port.isOpen()) return;
  m_port.close();
  Q_EMIT closed();
}

void QtSerialPort::onError(QSerialPort::SerialPortError error) {
  // An adapter pulled out (or the other end of a pseudo-terminal gone) hangs the line up: reads
  // find nothing, and Qt reports a resource or, while the line stays readable, a read error at
  // every pass of the event loop. The port is gone: report it closed. The close waits for the
  // event loop, since Qt still works on the port's buffer after telling us.
  if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
  if (!m_port.isOpen() || m_closePending) return;
  m_error = m_port.errorString();
  m_closePending = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!m_closePending) return;  // closed (and maybe opened again) in the meantime
        m_closePending = false;
        close();
      },
      Qt::QueuedConnection);
}

}  // namespace velmoria
