// A UserDialogs that answers from a script and records every box, for the window tests.
#pragma once

#include <QString>
#include <deque>
#include <string>
#include <vector>

#include "app/user_dialogs.h"

namespace quorlin::testing {

enum class BoxKind { Inform, Confirm, Ask, OpenFile, Error };

std::string KindName(BoxKind kind);

struct RecordedBox {
  BoxKind kind;
  QString caption;
  QString text;
  bool defaultYes = false;
  FileDialogRequest request;  // for OpenFile
};

// Every box must have been scripted, in order; any other box fails the test.
class ScriptedDialogs : public UserDialogs {
 public:
  // The next box is of `kind`; Confirm and Ask answer `yes`.
  void Expect(BoxKind kind, bool yes = true);
  void ExpectFile(bool accepted, const QString& fileName = QString());

  const std::vector<RecordedBox>& Boxes() const { return boxes_; }
  std::vector<QString> Texts() const;
  std::size_t Pending() const { return script_.size(); }
  void Forget() { boxes_.clear(); }

  std::vector<std::pair<QString, QString>> editorRuns;
  std::vector<int> presets;
  std::vector<int> delays;

  void Inform(const QString& text) override;
  bool Confirm(const QString& text) override;
  bool Ask(const QString& text, const QString& caption, bool defaultYes) override;
  FileChoice ChooseOpenFile(const FileDialogRequest& request) override;
  void OpenInEditor(const QString& editor, const QString& path) override;
  void PlayTone(int, int) override {}
  void PlayPreset(int tune) override { presets.push_back(tune); }
  void Delay(int units) override { delays.push_back(units); }
  void ShowError(const QString& text) override;

 private:
  struct Step {
    BoxKind kind;
    bool yes = true;
    QString fileName;
  };
  // The scripted step for a box of `kind`, or nothing (and a test failure) when it was not due.
  bool Next(const RecordedBox& box, Step& step);

  std::deque<Step> script_;
  std::vector<RecordedBox> boxes_;
};

}  // namespace quorlin::testing
