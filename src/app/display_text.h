// Data bytes as screen text, and file names as bytes.
#pragma once

#include <QString>

class QListWidget;
class QListWidgetItem;
#include <cstddef>
#include <string>

namespace quorlin {

// UTF-8 when the bytes are valid UTF-8, else Latin-1, so every byte shows as something.
QString DisplayText(const std::string& bytes);

// A grid cell shows at most this many bytes of its value: a cell is a few dozen characters
// wide, and turning a value of many megabytes into screen text on every paint would freeze
// the window.
inline constexpr std::size_t kMaxCellBytes = 4096;

// DisplayText of the value's first kMaxCellBytes bytes (never cutting a UTF-8 sequence), with
// "…" after a value that was cut.
QString DisplayCellText(const std::string& bytes);

// The bytes behind a box's text: `original` while the box still shows it as DisplayText shows
// it, so that a value read from a file keeps its bytes; otherwise what the user typed, as UTF-8.
std::string TypedBytes(const QString& shown, const std::string& original);

// The byte of a one-character box of an output's separator or qualifier: one character of code
// 255 or below is that Latin-1 byte; any other text is UTF-8.
std::string CharacterBoxBytes(const QString& shown);

// The character of a box of the input's separator or qualifier, as the layout keeps it: UTF-8,
// which the reader finds in the file's own form.
std::string InputCharacterText(const QString& shown);

// The first item of a choice box that leaves the choice to the locale.
inline constexpr const char* kLocaleChoice = "(locale)";
// The value behind a choice box's text: empty for kLocaleChoice.
std::string ChoiceBytes(const QString& shown);

// A file name as the file system spells it.
std::string PathBytes(const QString& path);
// A file name's bytes as the file dialogs and Qt's file classes take it.
QString PathText(const std::string& path);

// A list entry that names a file or a section: the bytes it keeps beside its text, or its
// text as a file name when it keeps none.
QListWidgetItem* NewByteItem(const std::string& bytes, QListWidget* list);
std::string ItemBytes(const QListWidgetItem* item);

}  // namespace quorlin
