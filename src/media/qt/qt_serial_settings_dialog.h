#pragma once
// The serial port's settings dialog: port (the devices present, or any path typed in, since
// pseudo-terminals and symlinks are not listed), baud rate, data bits, stop bits, parity and
// flow control, with OK and Cancel. The caller shows it modally and, on OK, takes settings().
#include <QDialog>

#include "media/qt/qt_serial_port.h"

class QComboBox;

namespace velmoria {

class QtSerialSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit QtSerialSettingsDialog(const SerialSettings& settings, QWidget* parent = nullptr);
  // The settings as the dialog shows them now.
  SerialSettings settings() const;

 private:
  QComboBox* m_port;
  QComboBox* m_baud;
  QComboBox* m_dataBits;
  QComboBox* m_stopBits;
  QComboBox* m_parity;
  QComboBox* m_flow;
};

}  // namespace velmoria
