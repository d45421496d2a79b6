#include "schema/open_file.h"

#include <algorithm>
#include <climits>
#include <ostream>
#include <utility>

#include "platform/folder_files.h"
#include "schema/every_record_guess.h"
#include "schema/field_editing.h"
#include "schema/schema_reader.h"
#include "schema/structure_guess.h"
#include "text/character_set_detection.h"

namespace quorlin {

namespace {

// A record length the ruler can hold; a typed number beyond int stays at the largest int.
int RulerLengthOf(long long value) { return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX)); }

// Clears the flag when it leaves, whether the work ran to its end or stopped on an error.
class ClearOnExit {
 public:
  explicit ClearOnExit(bool& flag) : flag_(flag) {}
  ~ClearOnExit() { flag_ = false; }
  ClearOnExit(const ClearOnExit&) = delete;
  ClearOnExit& operator=(const ClearOnExit&) = delete;

 private:
  bool& flag_;
};

// A fresh grid: one empty column with one empty data row.
PreviewTable EmptyPreview() {
  PreviewTable table;
  table.numbers = {""};
  table.names = {""};
  table.rows = {{""}};
  return table;
}

}  // namespace

OpenFile::OpenFile() : preview_(EmptyPreview()) {}

std::string OpenFile::InputBoxPath() const {
  return inputText_.find('/') != std::string::npos ? inputText_ : folder_ + inputText_;
}

std::string OpenFile::SectionName() const { return SectionNameFor(inputText_); }

void OpenFile::SetFolder(const std::string& folder) {
  folder_ = WithTrailingSlash(folder);
  ++revisions_.file;
}

void OpenFile::SetInputText(std::string text) {
  inputText_ = std::move(text);
  ++revisions_.file;
}

void OpenFile::SetInputPath(std::string path) {
  inputPath_ = std::move(path);
  ++revisions_.file;
}

void OpenFile::ChooseFile(const std::string& path, std::string inputText) {
  SetInputPath(path);
  SetInputText(std::move(inputText));
  SetFields({});
  layout_.characterSet = DetectFileCharacterSet(path);
  ++revisions_.layout;
  // Dates and decimals are the file's own: the choices of the file before do not carry over.
  if (layout_.conventions != FileConventions{}) SetConventions({});
}

void OpenFile::ChooseCharacterSet(CharacterSet set) {
  layout_.characterSet = std::move(set);
  ++revisions_.layout;
  MarkLayoutChanged();
  if (inputPath_.empty()) return;
  // The file is read anew in the set; the fields and breaks made so far stay.
  if (IsFixedView()) {
    ruler_ = ScanRuler(inputPath_, layout_.startRow.Value(), layout_.rowsToScan.Value(), layout_.characterSet);
    ++revisions_.ruler;
    return;
  }
  PreviewTable preview = LoadPreview(inputPath_, PreviewOptionsFor(layout_, numberingBase_));
  for (std::size_t n = 0; n < fields_.size() && n < preview.names.size(); ++n) preview.names[n] = fields_[n].name;
  preview_ = std::move(preview);
  ++revisions_.preview;
  if (fields_.empty()) SetFields(DefaultFields(preview_.names));
}

void OpenFile::SetLayout(FileLayout layout) {
  layout_ = std::move(layout);
  if (layout_.fixedLength.IsWhole()) lineLength_ = RulerLengthOf(layout_.fixedLength.Value());
  ++revisions_.layout;
}

void OpenFile::SetCustomSeparator(std::string separator) {
  layout_.customSeparator = std::move(separator);
  ++revisions_.layout;
}

void OpenFile::SetQualifier(std::string qualifier) {
  layout_.textQualifier = std::move(qualifier);
  ++revisions_.layout;
}

void OpenFile::SetConventions(FileConventions conventions) {
  layout_.conventions = std::move(conventions);
  ++revisions_.layout;
}

// Only a choice still left to the locale is proposed: one the user made stays.
void OpenFile::ProposeConventionsFromPreview() {
  const FileConventions proposed = ProposeConventions(preview_.rows);
  FileConventions conventions = layout_.conventions;
  if (conventions.dateOrder.empty()) conventions.dateOrder = proposed.dateOrder;
  if (conventions.decimalSymbol.empty()) conventions.decimalSymbol = proposed.decimalSymbol;
  if (conventions != layout_.conventions) SetConventions(std::move(conventions));
}

void OpenFile::SetStartRow(NumberText startRow) {
  layout_.startRow = std::move(startRow);
  ++revisions_.layout;
}

void OpenFile::SetRowsToScan(NumberText rowsToScan) {
  layout_.rowsToScan = std::move(rowsToScan);
  ++revisions_.layout;
}

void OpenFile::SetLineLength(NumberText lineLength) {
  if (lineLength.IsWhole()) lineLength_ = RulerLengthOf(lineLength.Value());
  layout_.fixedLength = std::move(lineLength);
  ++revisions_.layout;
}

void OpenFile::SetNumberingBase(int base) {
  numberingBase_ = base;
  if (!inputText_.empty()) {
    for (std::size_t c = 0; c < preview_.numbers.size(); ++c) {
      preview_.numbers[c] = std::to_string(static_cast<long long>(c) + base);
    }
    ++revisions_.preview;
  }
  ++revisions_.layout;
}

void OpenFile::SetHeaderRow(bool on) {
  layout_.hasHeaderRow = on;
  if (on) layout_.startRow = "1";
  ++revisions_.layout;
  MarkLayoutChanged();
}

void OpenFile::ChooseSeparator(SeparatorKind kind) {
  layout_.separator = kind;
  ++revisions_.layout;
  if (kind != SeparatorKind::Fixed) StartEmptyDelimitedLayout();
}

void OpenFile::Refresh(RulerLength length) {
  if (layout_.separator == SeparatorKind::Fixed) {
    const int start = length == RulerLength::FromLineTwo ? SecondLineLength(inputPath_, layout_.characterSet)
                                                         : RulerLengthOf(layout_.fixedLength.Value());
    StartEmptyFixedLayout(start);
    ScanRulerLines();
  } else {
    StartEmptyDelimitedLayout();
    LoadPreviewTable();
  }
  layoutChanged_ = false;
}

SavedLayoutRead OpenFile::OpenWithSavedLayout(const ProfileFile& schema, const std::string& section,
                                              const std::function<void(FileLayout&)>& adjust) {
  if (!SectionHasFields(schema, section)) return SavedLayoutRead::NoFields;
  // The file is about to show a saved layout: nothing may offer to save over that section,
  // not even when reading it stops half-way.
  const ClearOnExit unchanged(layoutChanged_);
  FileLayout layout = WithSavedLayout(layout_, ReadSavedLayout(schema, section));
  if (adjust) adjust(layout);
  SetLayout(std::move(layout));

  std::size_t count = 0;
  if (layout_.separator == SeparatorKind::Fixed) {
    StartEmptyFixedLayout(RulerLengthOf(layout_.fixedLength.Value()));
    ScanRulerLines();
    FieldList fields = ReadFixedFields(schema, section);
    // No break after the last field: k fields stand between k - 1 breaks, as guessing needs.
    // Every break of the saved widths is listed, also one past the line length, so that the
    // list keeps one entry per boundary between fields.
    for (const long long position : BreaksFromWidths(FieldWidths(fields))) {
      if (position < 1 || position > kMaxBreakPosition) continue;
      breaks_.Set(static_cast<int>(position), true);
      listedBreaks_.push_back(static_cast<int>(position));
    }
    breaks_.fieldCount = static_cast<int>(fields.size());
    ++revisions_.breaks;
    count = fields.size();
    SetFields(std::move(fields));
  } else {
    StartEmptyDelimitedLayout();
    LoadPreviewTable();
    const std::size_t columns = preview_.names.size();
    FieldList fields = ReadDelimitedFields(schema, section, columns);
    for (std::size_t n = 0; n < fields.size(); ++n) preview_.names[n] = fields[n].name;
    ++revisions_.preview;
    count = columns + fields.size();
    SetFields(std::move(fields));
  }
  if (count < 1) return SavedLayoutRead::NoStructure;
  Select(0);
  return SavedLayoutRead::Read;
}

bool OpenFile::ToggleBreak(int position) {
  if (!breaks_.Toggle(position)) return false;
  ListBreaks();
  MarkLayoutChanged();
  return true;
}

FixedGuessRequest OpenFile::FixedGuessRequestOf() const {
  return {inputPath_,          breaks_,         lineLength_,
          layout_.hasHeaderRow, layout_.textQualifier, layout_.startRow.Value(),
          layout_.rowsToScan.Value(), numberingBase_, layout_.characterSet};
}

Refusal OpenFile::TakeFixedGuess(FixedGuess guess) {
  if (guess.refusal) return guess.refusal;
  ReplaceFields(std::move(guess.fields));
  return std::nullopt;
}

Refusal OpenFile::Guess(const LocaleSettings& systemLocale) {
  if (!IsFixedView()) {
    ProposeConventionsFromPreview();
    const LocaleSettings locale = WithConventions(systemLocale, layout_.conventions);
    FieldList fields = fields_;
    GuessDelimitedFields(fields, preview_.rows, locale, numberingBase_, DelimitedWidthUnit(layout_.characterSet));
    ReplaceFields(std::move(fields));
    return std::nullopt;
  }
  return TakeFixedGuess(GuessFixedFields(FixedGuessRequestOf(), WithConventions(systemLocale, layout_.conventions)));
}

Refusal OpenFile::GuessFromEveryRecord(const LocaleSettings& systemLocale) {
  if (IsFixedView()) {
    return TakeFixedGuess(
        GuessFixedFieldsFromEveryRecord(FixedGuessRequestOf(), WithConventions(systemLocale, layout_.conventions)));
  }
  ProposeConventionsFromPreview();
  FieldList fields = fields_;
  GuessDelimitedFieldsFromEveryRecord(fields, inputPath_, layout_,
                                      WithConventions(systemLocale, layout_.conventions));
  ReplaceFields(std::move(fields));
  return std::nullopt;
}

std::vector<std::string> OpenFile::CutMessages() const {
  return IsFixedView() ? quorlin::CutMessages(ruler_) : quorlin::CutMessages(preview_);
}

void OpenFile::Select(int index) {
  if (fields_.empty()) return;
  if (index < 0 || index >= static_cast<int>(fields_.size())) index = 0;
  selected_ = index;
  // The grid paints the selected field's column only while its first column has a name.
  if (!IsFixedView()) markedColumn_ = !preview_.names.empty() && !preview_.names[0].empty() ? index : -1;
  ++revisions_.selection;
}

std::string OpenFile::WidthForType(const std::string& typeText, const std::string& widthBox) {
  const long long longest =
      selected_ >= 0 ? LongestColumnValue(preview_.rows, static_cast<std::size_t>(selected_)) : -1;
  MarkLayoutChanged();
  return WidthAfterTypeChange(typeText, widthBox, IsFixedView(), longest);
}

Refusal OpenFile::Add(const FieldEdit& edit, const LocaleSettings& locale) {
  if (!CanAddField(edit.name, edit.typeName, edit.width, layout_.startRow.Text(),
                   layout_.rowsToScan.Text(), locale)) {
    return "Need: Name, Type[, Width]";
  }
  fields_.push_back(FieldSpec{edit.name, edit.typeName, edit.width, std::nullopt});
  ++revisions_.fields;
  MarkLayoutChanged();
  return std::nullopt;
}

Refusal OpenFile::Modify(const FieldEdit& edit) {
  if (selected_ < 0) return "No Field Selected";
  FieldSpec& field = fields_[static_cast<std::size_t>(selected_)];
  field.name = edit.name;
  field.typeName = edit.typeName;
  field.width = edit.width;
  if (edit.format) field.format = *edit.format;
  if (static_cast<std::size_t>(selected_) < preview_.names.size()) {
    preview_.names[static_cast<std::size_t>(selected_)] = edit.name;
    ++revisions_.preview;
  }
  ++revisions_.fields;
  MarkLayoutChanged();
  return std::nullopt;
}

Refusal OpenFile::Delete() {
  if (selected_ < 0) return "No Field Selected";
  const auto index = static_cast<std::size_t>(selected_);
  FieldList remaining = fields_;
  DeleteField(remaining, index, IsFixedView());
  breaks_.fieldCount -= 1;
  if (IsFixedView()) {
    // Field i ends where break i of the list begins field i + 1; the break that separated the
    // deleted field from the one that took its width goes.
    RemoveFieldBreak(breaks_, listedBreaks_, index);
    ListBreaks();
  }
  ++revisions_.breaks;
  SetFields(std::move(remaining));
  Select(std::max(static_cast<int>(index) - 1, 0));
  MarkLayoutChanged();
  return std::nullopt;
}

void OpenFile::MoveSelected(int step) {
  if (selected_ < 0) return;
  const int target = selected_ + step;
  if (target >= 0 && target < static_cast<int>(fields_.size())) {
    std::swap(fields_[static_cast<std::size_t>(selected_)], fields_[static_cast<std::size_t>(target)]);
    // The break list follows the fields' order; the break positions themselves stay.
    const auto low = static_cast<std::size_t>(std::min(selected_, target));
    const auto high = static_cast<std::size_t>(std::max(selected_, target));
    if (IsFixedView() && high < listedBreaks_.size()) {
      std::swap(listedBreaks_[low], listedBreaks_[high]);
      ++revisions_.breaks;
    }
    ++revisions_.fields;
    selected_ = target;
    ++revisions_.selection;
  }
  MarkLayoutChanged();
}

void OpenFile::ReplaceFields(FieldList fields) {
  SetFields(std::move(fields));
  Select(0);
  MarkLayoutChanged();
}

Refusal OpenFile::CheckWidthsSet() const { return MissingWidthMessage(fields_); }

SaveOutcome OpenFile::Save(bool odbcOnly) {
  SaveOutcome outcome = SaveToSchema(folder_, SectionName(), layout_, fields_, odbcOnly, inputPath_);
  if (!outcome.refused) layoutChanged_ = false;
  return outcome;
}

void OpenFile::StartEmptyDelimitedLayout() {
  listedBreaks_.clear();
  SetFields({});
  view_ = ViewKind::Delimited;
  preview_.rows.assign(1, std::vector<std::string>(preview_.names.size()));
  markedColumn_ = -1;
  ++revisions_.view;
  ++revisions_.preview;
  ++revisions_.breaks;
  MarkLayoutChanged();
}

void OpenFile::StartEmptyFixedLayout(int lineLength) {
  listedBreaks_.clear();
  SetFields({});
  view_ = ViewKind::Fixed;
  ruler_ = RulerScan{};
  // The grid behind the ruler held the headings of whatever was shown before; switching back
  // to a delimited view must not show them as this file's.
  preview_ = EmptyPreview();
  ++revisions_.preview;
  SetLineLengthValue(lineLength);
  breaks_.fieldCount = 1;
  breaks_.ClearUpTo(lineLength_);
  ++revisions_.view;
  ++revisions_.ruler;
  ++revisions_.breaks;
  MarkLayoutChanged();
}

void OpenFile::LoadPreviewTable() {
  preview_ = LoadPreview(inputPath_, PreviewOptionsFor(layout_, numberingBase_));
  markedColumn_ = -1;
  ++revisions_.preview;
  SetFields(DefaultFields(preview_.names));
  Select(0);
}

void OpenFile::ScanRulerLines() {
  breaks_.ClearAll();
  ++revisions_.breaks;
  ruler_ = ScanRuler(inputPath_, layout_.startRow.Value(), layout_.rowsToScan.Value(), layout_.characterSet);
  if (ruler_.longest + 1 > lineLength_) SetLineLengthValue(ruler_.longest + 1);
  ++revisions_.ruler;
}

void OpenFile::SetFields(FieldList fields) {
  fields_ = std::move(fields);
  selected_ = -1;
  ++revisions_.fields;
  ++revisions_.selection;
}

void OpenFile::ListBreaks() {
  listedBreaks_ = breaks_.ListedBreaks(lineLength_);
  ++revisions_.breaks;
}

void OpenFile::SetLineLengthValue(long long length) {
  lineLength_ = RulerLengthOf(length);
  layout_.fixedLength = NumberText(static_cast<long long>(lineLength_));
  ++revisions_.layout;
  ++revisions_.ruler;
}

void PrintTo(ViewKind view, std::ostream* out) {
  *out << (view == ViewKind::Fixed ? "Fixed view" : "Delimited view");
}

void PrintTo(SavedLayoutRead read, std::ostream* out) {
  static constexpr const char* kNames[] = {"Read", "NoFields", "NoStructure"};
  *out << kNames[static_cast<int>(read)];
}

}  // namespace quorlin
