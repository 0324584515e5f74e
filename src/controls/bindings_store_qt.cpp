#include "controls/bindings_store_qt.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace velmoria::controls {

QString bindingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         "/Velmoria/controls.conf";
}

Bindings loadBindings(const QString& file) {
  if (!QFileInfo(file).isFile()) return Bindings::defaults();
  QSettings settings(file, QSettings::IniFormat);
  std::map<std::string, std::string> text;
  for (const QString& key : settings.allKeys()) {
    // A key such as "," must come back as the text it was, not as QSettings' list of two
    // empty strings: every value is written as a string and read as one.
    const QVariant value = settings.value(key);
    if (value.typeId() == QMetaType::QStringList)
      text[key.toStdString()] = value.toStringList().join(',').toStdString();
    else
      text[key.toStdString()] = value.toString().toStdString();
  }
  return fromSettings(text);
}

bool saveBindings(const Bindings& bindings, const QString& file) {
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  QSettings settings(file, QSettings::IniFormat);
  settings.clear();
  for (const auto& [key, value] : toSettings(bindings))
    settings.setValue(QString::fromStdString(key), QString::fromStdString(value));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

}  // namespace velmoria::controls
