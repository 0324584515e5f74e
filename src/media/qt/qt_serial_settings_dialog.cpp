#include "media/qt/qt_serial_settings_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace velmoria {

namespace {

QComboBox* makeChoice(QWidget* parent, const char* name,
                      std::initializer_list<std::pair<const char*, int>> items, int current) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  for (const auto& [text, value] : items) box->addItem(QString::fromUtf8(text), value);
  const int index = box->findData(current);
  box->setCurrentIndex(index >= 0 ? index : 0);
  return box;
}

int chosen(const QComboBox* box) {
  return box->currentData().toInt();
}

}  // namespace

QtSerialSettingsDialog::QtSerialSettingsDialog(const SerialSettings& settings, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(tr("Serial port"));
  m_port = new QComboBox(this);
  m_port->setObjectName("port");
  m_port->setEditable(true);
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
    m_port->addItem(info.systemLocation());
  const QString port = settings.portName.isEmpty() ? defaultSerialPortName() : settings.portName;
  if (m_port->findText(port) < 0) m_port->addItem(port);
  m_port->setCurrentText(port);

  m_baud = new QComboBox(this);
  m_baud->setObjectName("baudRate");
  m_baud->setEditable(true);
  m_baud->setValidator(new QIntValidator(1, 4000000, m_baud));
  for (int rate : {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200})
    m_baud->addItem(QString::number(rate));
  m_baud->setCurrentText(QString::number(settings.baudRate));

  m_dataBits = makeChoice(this, "dataBits",
                          {{"5", QSerialPort::Data5},
                           {"6", QSerialPort::Data6},
                           {"7", QSerialPort::Data7},
                           {"8", QSerialPort::Data8}},
                          settings.dataBits);
  m_stopBits = makeChoice(this, "stopBits",
                          {{"1", QSerialPort::OneStop},
                           {"1.5", QSerialPort::OneAndHalfStop},
                           {"2", QSerialPort::TwoStop}},
                          settings.stopBits);
  m_parity = makeChoice(this, "parity",
                        {{"None", QSerialPort::NoParity},
                         {"Even", QSerialPort::EvenParity},
                         {"Odd", QSerialPort::OddParity},
                         {"Mark", QSerialPort::MarkParity},
                         {"Space", QSerialPort::SpaceParity}},
                        settings.parity);
  m_flow = makeChoice(this, "flowControl",
                      {{"None", QSerialPort::NoFlowControl},
                       {"Hardware (RTS/CTS)", QSerialPort::HardwareControl},
                       {"Software (XON/XOFF)", QSerialPort::SoftwareControl}},
                      settings.flowControl);

  auto* form = new QFormLayout;
  form->addRow(tr("Port"), m_port);
  form->addRow(tr("Baud rate"), m_baud);
  form->addRow(tr("Data bits"), m_dataBits);
  form->addRow(tr("Stop bits"), m_stopBits);
  form->addRow(tr("Parity"), m_parity);
  form->addRow(tr("Flow control"), m_flow);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName("buttons");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

SerialSettings QtSerialSettingsDialog::settings() const {
  SerialSettings s;
  s.portName = m_port->currentText().trimmed();
  bool ok = false;
  const int rate = m_baud->currentText().toInt(&ok);
  s.baudRate = ok && rate > 0 ? rate : 19200;
  s.dataBits = static_cast<QSerialPort::DataBits>(chosen(m_dataBits));
  s.stopBits = static_cast<QSerialPort::StopBits>(chosen(m_stopBits));
  s.parity = static_cast<QSerialPort::Parity>(chosen(m_parity));
  s.flowControl = static_cast<QSerialPort::FlowControl>(chosen(m_flow));
  return s;
}

}  // namespace velmoria
