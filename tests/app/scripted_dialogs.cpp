#include "app/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace quorlin::testing {

std::string KindName(BoxKind kind) {
  switch (kind) {
    case BoxKind::Inform: return "information";
    case BoxKind::Warn: return "warning";
    case BoxKind::Confirm: return "confirmation";
    case BoxKind::Ask: return "question";
    case BoxKind::Offer: return "yes-no-cancel";
    case BoxKind::OpenFile: return "file dialog";
    case BoxKind::SaveFile: return "save dialog";
    case BoxKind::Error: return "error";
  }
  return "?";
}

void ScriptedDialogs::Expect(BoxKind kind, bool yes) { script_.push_back({kind, yes, {}}); }

void ScriptedDialogs::ExpectOffer(Answer answer) {
  script_.push_back({BoxKind::Offer, true, {}, answer});
}

void ScriptedDialogs::ExpectFile(bool accepted, const QString& fileName) {
  script_.push_back({BoxKind::OpenFile, accepted, fileName});
}

void ScriptedDialogs::ExpectSaveFile(bool accepted, const QString& fileName) {
  script_.push_back({BoxKind::SaveFile, accepted, fileName});
}

std::vector<QString> ScriptedDialogs::Texts() const {
  std::vector<QString> texts;
  for (const RecordedBox& box : boxes_) texts.push_back(box.text);
  return texts;
}

bool ScriptedDialogs::Next(const RecordedBox& box, Step& step) {
  boxes_.push_back(box);
  if (script_.empty() || script_.front().kind != box.kind) {
    ADD_FAILURE() << "unexpected " << KindName(box.kind) << " box: \""
                  << box.text.toStdString() << "\" (" << box.caption.toStdString() << ")"
                  << (script_.empty() ? std::string(", none was due")
                                      : ", a " + KindName(script_.front().kind) + " box was due");
    return false;
  }
  step = script_.front();
  script_.pop_front();
  return true;
}

void ScriptedDialogs::Inform(const QString& text) {
  Step step;
  Next({BoxKind::Inform, kApplicationTitle, text, false, {}}, step);
}

void ScriptedDialogs::Warn(const QString& text) {
  Step step;
  Next({BoxKind::Warn, kApplicationTitle, text, false, {}}, step);
}

bool ScriptedDialogs::Confirm(const QString& text) {
  Step step;
  return Next({BoxKind::Confirm, kApplicationTitle, text, true, {}}, step) && step.yes;
}

bool ScriptedDialogs::Ask(const QString& text, const QString& caption, bool defaultYes) {
  Step step;
  return Next({BoxKind::Ask, caption, text, defaultYes, {}}, step) && step.yes;
}

Answer ScriptedDialogs::Offer(const QString& text) {
  Step step;
  // An unscripted offer is cancelled, which starts nothing.
  if (!Next({BoxKind::Offer, kApplicationTitle, text, true, {}}, step)) return Answer::Cancel;
  return step.answer;
}

FileChoice ScriptedDialogs::FileBox(BoxKind kind, const FileDialogRequest& request) {
  Step step;
  if (!Next({kind, request.title, request.initialFile, false, request}, step) || !step.yes) {
    return {false, request.initialFile};
  }
  return {true, step.fileName};
}

FileChoice ScriptedDialogs::ChooseOpenFile(const FileDialogRequest& request) {
  return FileBox(BoxKind::OpenFile, request);
}

FileChoice ScriptedDialogs::ChooseSaveFile(const FileDialogRequest& request) {
  return FileBox(BoxKind::SaveFile, request);
}

void ScriptedDialogs::ShowError(const QString& text) {
  Step step;
  Next({BoxKind::Error, kApplicationTitle, text, false, {}}, step);
}

}  // namespace quorlin::testing
