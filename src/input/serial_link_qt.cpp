#include "input/serial_link_qt.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QSerialPortInfo>

namespace velmoria {

QString defaultSerialPort() {
  for (const char* name : {"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0"})
    if (QFile::exists(name)) return name;
  return "/dev/ttyS0";
}

SerialLink::SerialLink(const ShellHooks& hooks, std::function<void(const std::string&)> onChunk)
    : m_hooks(hooks), m_onChunk(std::move(onChunk)) {
  m_settings.port = defaultSerialPort();
  connect(&m_port, &QSerialPort::readyRead, this, [this] {
    const QByteArray chunk = m_port.readAll();
    if (!chunk.isEmpty() && m_onChunk) m_onChunk(chunk.toStdString());
  });
}

void SerialLink::toggle(QWidget* parent) {
  if (m_port.isOpen())
    close(parent);
  else
    open(parent);
}

void SerialLink::closeIfOpen(QWidget* parent) {
  if (m_port.isOpen()) close(parent);
}

void SerialLink::open(QWidget* parent) {
  m_port.setPortName(m_settings.port);
  m_port.setBaudRate(m_settings.baud);
  m_port.setDataBits(m_settings.dataBits);
  m_port.setParity(m_settings.parity);
  m_port.setStopBits(m_settings.stopBits);
  m_port.setFlowControl(m_settings.flow);
  if (!m_port.open(QIODevice::ReadWrite)) {
    m_hooks.message(parent, m_settings.port + ": " + m_port.errorString());
    return;
  }
  m_port.setDataTerminalReady(false);
  if (m_settings.flow != QSerialPort::HardwareControl) m_port.setRequestToSend(false);
  m_hooks.message(parent, "Connect to controller.");
}

void SerialLink::close(QWidget* parent) {
  m_port.close();
  m_hooks.message(parent, "Disconnect from controller.");
}

void SerialLink::showSettings(QWidget* parent) {
  QDialog dialog(parent);
  dialog.setWindowTitle("Serial port");
  auto* form = new QFormLayout(&dialog);
  auto* port = new QComboBox;
  port->setEditable(true);  // pseudo-terminals are not listed: a typed path must do
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    port->addItem(info.systemLocation());
  port->setCurrentText(m_settings.port);
  auto* baud = new QComboBox;
  for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
    baud->addItem(QString::number(rate), rate);
  baud->setCurrentText(QString::number(m_settings.baud));
  auto* dataBits = new QComboBox;
  for (int bits : {5, 6, 7, 8}) dataBits->addItem(QString::number(bits), bits);
  dataBits->setCurrentText(QString::number(static_cast<int>(m_settings.dataBits)));
  auto* stopBits = new QComboBox;
  stopBits->addItem("1", QSerialPort::OneStop);
  stopBits->addItem("1.5", QSerialPort::OneAndHalfStop);
  stopBits->addItem("2", QSerialPort::TwoStop);
  stopBits->setCurrentIndex(stopBits->findData(m_settings.stopBits));
  auto* parity = new QComboBox;
  parity->addItem("None", QSerialPort::NoParity);
  parity->addItem("Even", QSerialPort::EvenParity);
  parity->addItem("Odd", QSerialPort::OddParity);
  parity->addItem("Mark", QSerialPort::MarkParity);
  parity->addItem("Space", QSerialPort::SpaceParity);
  parity->setCurrentIndex(parity->findData(m_settings.parity));
  auto* flow = new QComboBox;
  flow->addItem("None", QSerialPort::NoFlowControl);
  flow->addItem("RTS/CTS", QSerialPort::HardwareControl);
  flow->addItem("XON/XOFF", QSerialPort::SoftwareControl);
  flow->setCurrentIndex(flow->findData(m_settings.flow));
  form->addRow("Port", port);
  form->addRow("Baud rate", baud);
  form->addRow("Data bits", dataBits);
  form->addRow("Stop bits", stopBits);
  form->addRow("Parity", parity);
  form->addRow("Flow control", flow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  form->addRow(buttons);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  if (dialog.exec() != QDialog::Accepted) return;
  m_settings.port = port->currentText();
  m_settings.baud = baud->currentText().toInt();
  m_settings.dataBits = static_cast<QSerialPort::DataBits>(dataBits->currentData().toInt());
  m_settings.stopBits = static_cast<QSerialPort::StopBits>(stopBits->currentData().toInt());
  m_settings.parity = static_cast<QSerialPort::Parity>(parity->currentData().toInt());
  m_settings.flow = static_cast<QSerialPort::FlowControl>(flow->currentData().toInt());
}

}  // namespace velmoria
