#include "clipboard/systemclipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tsy {

namespace {

const QMimeData* Current() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard ? clipboard->mimeData() : nullptr;
}

QString MimeOf(const std::string& FormatName) { return QString::fromStdString(ClipboardMimeType(FormatName)); }

}  // namespace

void TSystemClipboard::Put(const std::string& Text, const TFormats& Formats) {
  auto* data = new QMimeData;
  data->setText(QString::fromStdString(Text));
  for (const auto& [name, bytes] : Formats)
    data->setData(MimeOf(name), QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
  QGuiApplication::clipboard()->setMimeData(data);  // the clipboard takes ownership
}

bool TSystemClipboard::HasFormat(const std::string& FormatName) const {
  const QMimeData* data = Current();
  return data && data->hasFormat(MimeOf(FormatName));
}

std::vector<uint8_t> TSystemClipboard::Data(const std::string& FormatName) const {
  const QMimeData* data = Current();
  if (!data) return {};
  const QByteArray bytes = data->data(MimeOf(FormatName));
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

}  // namespace tsy
