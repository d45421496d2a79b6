#include "app/display_text.h"

#include <QFile>
#include <QListWidget>

#include "text/utf8_text.h"

namespace quorlin {

QString DisplayText(const std::string& bytes) {
  const auto size = static_cast<qsizetype>(bytes.size());
  if (IsValidUtf8(bytes)) return QString::fromUtf8(bytes.data(), size);
  return QString::fromLatin1(bytes.data(), size);
}

QString DisplayCellText(const std::string& bytes) {
  if (bytes.size() <= kMaxCellBytes) return DisplayText(bytes);
  return DisplayText(CutAtCharacter(bytes, kMaxCellBytes)) + QChar(0x2026);
}

std::string TypedBytes(const QString& shown, const std::string& original) {
  if (shown == DisplayText(original)) return original;
  return shown.toStdString();
}

std::string ChoiceBytes(const QString& shown) {
  return shown == QLatin1String(kLocaleChoice) ? std::string() : shown.toStdString();
}

std::string CharacterBoxBytes(const QString& shown) {
  if (shown.size() == 1 && shown.front().unicode() <= 0xFF) {
    return std::string(1, static_cast<char>(shown.front().unicode()));
  }
  return shown.toStdString();
}

std::string InputCharacterText(const QString& shown) { return shown.toStdString(); }

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString PathText(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QListWidgetItem* NewByteItem(const std::string& bytes, QListWidget* list) {
  auto* item = new QListWidgetItem(DisplayText(bytes), list);
  item->setData(Qt::UserRole, QByteArray::fromStdString(bytes));
  return item;
}

std::string ItemBytes(const QListWidgetItem* item) {
  const QVariant bytes = item->data(Qt::UserRole);
  return bytes.isValid() ? bytes.toByteArray().toStdString() : PathBytes(item->text());
}

}  // namespace quorlin
