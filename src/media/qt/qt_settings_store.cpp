#include "media/qt/qt_settings_store.h"

#include <QString>
#include <QVariant>

namespace velmoria {

QtSettingsStore::QtSettingsStore() : m_settings("Korvelan", "dgcontroller") {}

std::optional<int32_t> QtSettingsStore::readInt(const std::string& name) const {
  const QVariant value = m_settings.value(QString::fromStdString(name));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const qlonglong number = value.toString().trimmed().toLongLong(&ok, 10);
  if (!ok || number < INT32_MIN || number > qlonglong(UINT32_MAX)) return std::nullopt;
  return static_cast<int32_t>(static_cast<uint32_t>(number));
}

}  // namespace velmoria
