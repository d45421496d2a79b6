#include "app/display_text.h"

#include <QFile>
#include <QStringDecoder>

namespace quorlin {

QString DisplayText(const std::string& bytes) {
  bool plain = true;
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80) {
      plain = false;
      break;
    }
  }
  if (plain) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace quorlin
