#include "settings/qsettingsbackend.h"

#include <QByteArray>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QVariant>
#include <stdexcept>

namespace tsy {

namespace {

QString Path(const std::string& Key, const std::string& Name) { return QString::fromStdString(Key + "/" + Name); }

std::optional<uint32_t> ParseDWord(const QString& Text) {
  bool ok = false;
  const qlonglong v = Text.trimmed().toLongLong(&ok, 10);
  if (!ok || v < INT32_MIN || v > qlonglong(UINT32_MAX)) return std::nullopt;
  return static_cast<uint32_t>(v);
}

}  // namespace

TQSettingsBackend::TQSettingsBackend(const std::string& FileName)
    : FSettings(std::make_unique<QSettings>(QString::fromStdString(FileName.empty() ? DefaultFileName() : FileName),
                                            QSettings::IniFormat)) {}

TQSettingsBackend::~TQSettingsBackend() = default;

std::string TQSettingsBackend::DefaultFileName() {
  return (QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Varnel/Tessary.conf")
      .toStdString();
}

std::string TQSettingsBackend::FileName() const { return FSettings->fileName().toStdString(); }

bool TQSettingsBackend::KeyExists(const std::string& Key) {
  FSettings->beginGroup(QString::fromStdString(Key));
  const bool exists = !FSettings->childKeys().isEmpty() || !FSettings->childGroups().isEmpty();
  FSettings->endGroup();
  return exists;
}

void TQSettingsBackend::OpenKey(const std::string&) {
  // An INI file holds no empty groups: a key comes into being with its first
  // value. What can fail is the file itself.
  if (FSettings->status() == QSettings::AccessError) throw std::runtime_error("settings file cannot be accessed");
}

std::optional<TSettingValue> TQSettingsBackend::ReadValue(const std::string& Key, const std::string& Name,
                                                          TSettingKind Expected) {
  const QVariant v = FSettings->value(Path(Key, Name));
  if (!v.isValid()) return std::nullopt;
  if (v.typeId() == QMetaType::QByteArray) {
    const QByteArray b = v.toByteArray();
    return TSettingValue::FromBinary(std::vector<uint8_t>(b.begin(), b.end()));
  }
  // Unquoted text with commas comes back as a list; it was one value.
  const QString text = v.typeId() == QMetaType::QStringList ? v.toStringList().join(",") : v.toString();
  if (Expected == TSettingKind::DWord) {
    if (std::optional<uint32_t> d = ParseDWord(text)) return TSettingValue::FromDWord(*d);
  }
  return TSettingValue::FromString(text.toStdString());
}

void TQSettingsBackend::WriteValue(const std::string& Key, const std::string& Name, const TSettingValue& Value) {
  QVariant v;
  switch (Value.Kind) {
    case TSettingKind::DWord:
      v = QVariant(static_cast<int>(static_cast<int32_t>(Value.DWord)));
      break;
    case TSettingKind::String:
      v = QVariant(QString::fromStdString(Value.String));
      break;
    case TSettingKind::Binary:
      v = QVariant(QByteArray(reinterpret_cast<const char*>(Value.Binary.data()), qsizetype(Value.Binary.size())));
      break;
  }
  FSettings->setValue(Path(Key, Name), v);
  Flush();
}

void TQSettingsBackend::DeleteValue(const std::string& Key, const std::string& Name) {
  FSettings->remove(Path(Key, Name));
  Flush();
}

void TQSettingsBackend::CopyKey(const std::string& Source, const std::string& Destination) {
  FSettings->beginGroup(QString::fromStdString(Source));
  const QStringList keys = FSettings->allKeys();
  std::vector<std::pair<QString, QVariant>> values;
  for (const QString& k : keys) values.emplace_back(k, FSettings->value(k));
  FSettings->endGroup();
  const QString dest = QString::fromStdString(Destination) + "/";
  for (const auto& [k, v] : values) FSettings->setValue(dest + k, v);
  Flush();
}

void TQSettingsBackend::Flush() {
  // Written through at once, as the registry was: another process (or a
  // crash) sees every setting that was written.
  FSettings->sync();
  if (FSettings->status() != QSettings::NoError) throw std::runtime_error("settings file cannot be written");
}

}  // namespace tsy
