// The seam in the window tests: boxes answered from a script, sounds and launches recorded.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/launcher.h"
#include "app/qt_printers.h"
#include "app/report_printer.h"
#include "app/sound_effects.h"
#include "app/user_dialogs.h"

namespace quorlin::testing {

enum class BoxKind { Inform, Warn, Confirm, Ask, Offer, OpenFile, SaveFile, Error };

std::string KindName(BoxKind kind);

struct RecordedBox {
  BoxKind kind;
  QString caption;
  QString text;
  bool defaultYes = false;
  FileDialogRequest request;  // for OpenFile and SaveFile
};

// Every box must have been scripted, in order; any other box fails the test.
class ScriptedDialogs : public UserDialogs {
 public:
  // The next box is of `kind`; Confirm and Ask answer `yes`.
  void Expect(BoxKind kind, bool yes = true);
  // The next box is an offer of Yes, No and Cancel, answered with `answer`.
  void ExpectOffer(Answer answer);
  void ExpectFile(bool accepted, const QString& fileName = QString());
  void ExpectSaveFile(bool accepted, const QString& fileName = QString());

  const std::vector<RecordedBox>& Boxes() const { return boxes_; }
  std::vector<QString> Texts() const;
  std::size_t Pending() const { return script_.size(); }
  void Forget() { boxes_.clear(); }

  void Inform(const QString& text) override;
  void Warn(const QString& text) override;
  bool Confirm(const QString& text) override;
  bool Ask(const QString& text, const QString& caption, bool defaultYes) override;
  Answer Offer(const QString& text) override;
  FileChoice ChooseOpenFile(const FileDialogRequest& request) override;
  FileChoice ChooseSaveFile(const FileDialogRequest& request) override;
  void ShowError(const QString& text) override;

 private:
  struct Step {
    BoxKind kind;
    bool yes = true;
    QString fileName;
    Answer answer = Answer::Yes;
  };
  // The scripted step for a box of `kind`, or nothing (and a test failure) when it was not due.
  bool Next(const RecordedBox& box, Step& step);
  FileChoice FileBox(BoxKind kind, const FileDialogRequest& request);

  std::deque<Step> script_;
  std::vector<RecordedBox> boxes_;
};

struct Tone {
  int hz;
  int ms;
  bool operator==(const Tone&) const = default;
};

// Every tone, tune and pause, in order of arrival. `duringDelay` stands for what the user does
// while a pause lets the window handle input.
class RecordedSounds : public SoundEffects {
 public:
  void PlayTone(int hz, int ms) override { tones.push_back({hz, ms}); }
  void PlayPreset(int tune) override { presets.push_back(tune); }
  void Delay(int units) override {
    delays.push_back(units);
    if (duringDelay) duringDelay();
  }

  std::vector<Tone> tones;
  std::vector<int> presets;
  std::vector<int> delays;
  std::function<void()> duringDelay;
};

class RecordedLaunches : public Launcher {
 public:
  void OpenInEditor(const QString& editor, const QString& path) override {
    editorRuns.emplace_back(editor, path);
  }
  bool OpenUrl(const QString& url) override {
    urls.push_back(url);
    return browserStarts;
  }
  void OpenHelp(int helpContext) override { helpContexts.push_back(helpContext); }

  std::vector<std::pair<QString, QString>> editorRuns;
  std::vector<QString> urls;
  bool browserStarts = true;
  std::vector<int> helpContexts;
};

// Every print job, answered with `outcome`.
class RecordedPrinter : public ReportPrinter {
 public:
  struct Job {
    QString name;
    QString text;
  };
  PrintOutcome Print(const QString& jobName, const QString& text) override {
    jobs.push_back({jobName, text});
    return outcome;
  }

  PrintOutcome outcome = PrintOutcome::Printed;
  std::vector<Job> jobs;
};

}  // namespace quorlin::testing
