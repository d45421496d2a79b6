// The open data file as the main window shows it: the layout, the preview or the ruler, the
// break marks and the field list, with every command that changes them.
#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "platform/locale_settings.h"
#include "platform/profile_file.h"
#include "schema/field_layout.h"
#include "schema/schema_writer.h"
#include "schema/structure_guess.h"
#include "text/fixed_ruler.h"
#include "text/preview_loader.h"

namespace quorlin {

// Which view shows the file: the preview grid of a delimited layout or the fixed-length ruler.
enum class ViewKind { Delimited, Fixed };

// Where the fixed-length ruler takes its record length from before the longest scanned line
// widens it: line 2 of the file (Refresh), or the layout's line length (a saved layout, or one
// given on the command line).
enum class RulerLength { FromLineTwo, FromLayout };

// How opening a file with its saved layout went.
enum class SavedLayoutRead {
  Read,
  NoFields,     // the section has no Col1: nothing was changed
  NoStructure,  // the layout was applied but not one field read
};

// The field editor's boxes as ADD and Modify take them.
struct FieldEdit {
  std::string name;
  std::string typeName;
  std::string width;
  std::optional<std::string> format;  // the date-format box, only while it is shown
};

// What a command says instead of running (an information box), or nothing when it ran.
using Refusal = std::optional<std::string>;

// Counters that move whenever a part of the model changes, so that a view can show again just
// what changed after a command.
struct ModelRevisions {
  unsigned file = 0;       // input path, input box text, folder
  unsigned layout = 0;     // the layout's values and the counting base
  unsigned view = 0;       // which view is shown
  unsigned preview = 0;    // the preview table
  unsigned ruler = 0;      // the ruler's scan and line length
  unsigned breaks = 0;     // break marks, the break list, the fixed-field count
  unsigned fields = 0;     // the field list
  unsigned selection = 0;  // the selected field (also when it is selected again)
};

class OpenFile {
 public:
  OpenFile();

  // The file, the input box and the folder.
  const std::string& InputPath() const { return inputPath_; }
  // The input box: a full path, or a file name in Folder(). Typing in it does not change
  // InputPath; Save names the section after it and View Data opens it.
  const std::string& InputText() const { return inputText_; }
  // The folder whose files are listed, with a trailing "/": where Save writes and the schema
  // list reads.
  const std::string& Folder() const { return folder_; }
  // The input box as a full path: as it is when it holds a "/", else in Folder().
  std::string InputBoxPath() const;
  // The section the layout is saved as: the input box without its folder.
  std::string SectionName() const;
  void SetFolder(const std::string& folder);
  void SetInputText(std::string text);
  void SetInputPath(std::string path);
  // A file chosen to be loaded next: InputPath and the input box take it, the field list
  // empties, the layout takes the character set the file's first bytes show and the date order
  // and decimal symbol go back to the locale's.
  void ChooseFile(const std::string& path, std::string inputText);

  // The layout. The setters take what the boxes hold and leave LayoutChanged alone; the
  // commands below mark it as their rules say.
  const FileLayout& Layout() const { return layout_; }
  int NumberingBase() const { return numberingBase_; }
  void SetLayout(FileLayout layout);
  void SetCustomSeparator(std::string separator);
  void SetQualifier(std::string qualifier);
  // The date order and decimal symbol boxes; empty values leave them to the locale.
  void SetConventions(FileConventions conventions);
  void SetStartRow(NumberText startRow);
  void SetRowsToScan(NumberText rowsToScan);
  // The line length box; a whole number becomes the ruler's line length at once.
  void SetLineLength(NumberText lineLength);
  // Counts the fields from 0 or 1; the preview's number row follows while a file is named.
  void SetNumberingBase(int base);
  // "Header Row?": turning it on puts 1 in the start row; every change marks the layout.
  void SetHeaderRow(bool on);
  // The character set choice: the file is read anew in `set`, keeping the fields and breaks;
  // marks the layout. Raises FileError when the file cannot be read.
  void ChooseCharacterSet(CharacterSet set);
  // A separator button: a delimited kind switches to the grid, emptied of data rows and fields,
  // and marks the layout; Fixed Length only takes effect with the next Refresh.
  void ChooseSeparator(SeparatorKind kind);

  // The views.
  ViewKind View() const { return view_; }
  bool IsFixedView() const { return view_ == ViewKind::Fixed; }
  const PreviewTable& Preview() const { return preview_; }
  // The preview column painted as the selected field's, or -1.
  int MarkedColumn() const { return markedColumn_; }
  const RulerScan& Ruler() const { return ruler_; }
  // What the shown preview or ruler left out of the file, one message each.
  std::vector<std::string> CutMessages() const;
  // The ruler's record length: the positions it covers, one past the longest line's end.
  int LineLength() const { return lineLength_; }
  const BreakModel& Breaks() const { return breaks_; }
  // The break list: positions in the order shown, which Up and Down change.
  const std::vector<int>& ListedBreaks() const { return listedBreaks_; }
  // "Fixed Fields": 1 on a fresh ruler, moved by one per break set or cleared and per Delete.
  int FixedFieldCount() const { return breaks_.fieldCount; }

  // Loads InputPath into the view the separator asks for: the preview with one untyped field
  // per column, or the ruler with no breaks and no fields. LayoutChanged goes off. Raises
  // FileError, and ConversionError for a start row or rows count that is no whole number.
  void Refresh(RulerLength length = RulerLength::FromLineTwo);
  // Opens InputPath with the layout saved as `section` of `schema` (a folder's Schema.INI, or
  // the settings file's LastFile): the saved keys replace the layout's, `adjust` may change
  // them before the file is read (the command line's layout options), the view follows the
  // separator, and the saved fields with their breaks replace the field list. LayoutChanged
  // goes off. Raises FileError, ConversionError for a saved number that is no whole number,
  // and SchemaError for a fixed-length entry without a usable width (the layout then stays
  // applied without fields).
  SavedLayoutRead OpenWithSavedLayout(const ProfileFile& schema, const std::string& section,
                                      const std::function<void(FileLayout&)>& adjust = {});

  // The ruler's mouse command: sets or clears the break at `position` and lists the breaks
  // anew. False, changing nothing, for a position outside 1..kMaxBreakPosition.
  bool ToggleBreak(int position);
  // Guess Field Types. In the grid every field still "Unknown" is typed from the preview's
  // rows; on the ruler the field list is built anew from the breaks and the data file, and
  // its refusals (breaks that disagree with the fixed-field count, titles that are not one
  // per field) change nothing. Afterwards the first field is selected and the layout marked.
  // In the grid a date order or decimal symbol still left to the locale is first taken from
  // the preview's values when they tell it; values are read with the layout's conventions.
  // Raises FileError when the data file cannot be read.
  Refusal Guess(const LocaleSettings& systemLocale);
  // Guess Field Types from every record of the file instead of the preview's rows
  // (GuessDelimitedFieldsFromEveryRecord, on the ruler GuessFixedFieldsFromEveryRecord).
  Refusal GuessFromEveryRecord(const LocaleSettings& systemLocale);

  // The field list and its commands.
  const FieldList& Fields() const { return fields_; }
  // The selected field's position, or -1.
  int Selected() const { return selected_; }
  // Select field: `index`, or the first field when `index` names none; nothing in an empty
  // list. In the grid the field's column is painted.
  void Select(int index);
  // Type change: the width box's text for the selected field after its type became
  // `typeText`; marks the layout.
  std::string WidthForType(const std::string& typeText, const std::string& widthBox);
  // ADD: appends the field without a format; "Need: Name, Type[, Width]" when a box is blank
  // or a number is not numeric.
  Refusal Add(const FieldEdit& edit, const LocaleSettings& locale);
  // Modify: the selected field takes the boxes, and its grid column the name.
  Refusal Modify(const FieldEdit& edit);
  // Delete: removes the selected field; on the ruler its width goes to a neighbour and the
  // break between them goes; the field before it is selected.
  Refusal Delete();
  // Up (-1) and Down (+1): the selected field swaps with its neighbour, on the ruler with the
  // break list entries at the same places. Marks the layout even when the field cannot move.
  void MoveSelected(int step);
  // A new field list: the first field is selected and the layout marked.
  void ReplaceFields(FieldList fields);

  // The flag that the layout differs from the one loaded or saved last.
  bool LayoutChanged() const { return layoutChanged_; }
  void MarkLayoutChanged() { layoutChanged_ = true; }
  void ClearLayoutChanged() { layoutChanged_ = false; }

  // Save To Schema: "Width for <name> has not been set" for a character field without width.
  Refusal CheckWidthsSet() const;
  // Writes the layout as SectionName() of Folder()'s Schema.INI and clears LayoutChanged;
  // refused, changing nothing, when the schema file is the input file or the input file is
  // text nothing can be read from.
  SaveOutcome Save(bool odbcOnly);

  const ModelRevisions& Revisions() const { return revisions_; }

 private:
  // A delimited layout without fields, breaks or data rows, marked as changed.
  void StartEmptyDelimitedLayout();
  // A fixed-length layout of `lineLength` positions without fields, breaks or scanned lines.
  void StartEmptyFixedLayout(int lineLength);
  void LoadPreviewTable();
  void ProposeConventionsFromPreview();
  // Reads the lines the ruler shows and widens the line length to the longest of them.
  void ScanRulerLines();
  void SetFields(FieldList fields);
  void ListBreaks();
  // The ruler's guess of the data file, and taking its fields unless it was refused.
  FixedGuessRequest FixedGuessRequestOf() const;
  Refusal TakeFixedGuess(FixedGuess guess);
  void SetLineLengthValue(long long length);

  std::string inputPath_;
  std::string inputText_;
  std::string folder_;
  FileLayout layout_;
  int numberingBase_ = 1;
  ViewKind view_ = ViewKind::Delimited;
  PreviewTable preview_;
  int markedColumn_ = -1;
  RulerScan ruler_;
  int lineLength_ = 0;
  BreakModel breaks_;
  std::vector<int> listedBreaks_;
  FieldList fields_;
  int selected_ = -1;
  bool layoutChanged_ = false;
  ModelRevisions revisions_;
};

void PrintTo(ViewKind view, std::ostream* out);
void PrintTo(SavedLayoutRead read, std::ostream* out);

}  // namespace quorlin
