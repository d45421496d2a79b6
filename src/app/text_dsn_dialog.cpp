// The DSN dialog: the boxes and buttons over the core's DSN commands, and a grid fed through
// Qt's ODBC driver.
#include "app/text_dsn_dialog.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTimer>
#include <QUuid>
#include <QVBoxLayout>

#include "app/display_text.h"
#include "app/help_topics.h"
#include "app/item_rows.h"
#include "app/launcher.h"
#include "app/sound_effects.h"
#include "app/table_rows_model.h"
#include "app/user_dialogs.h"
#include "odbc/text_dsn_commands.h"
#include "platform/folder_files.h"

namespace quorlin {

namespace {

constexpr int kToneMs = 600;
constexpr int kSuccessHz = 600;
constexpr int kFailureHz = 400;

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

std::string Bytes(const QLineEdit* box) { return box->text().toStdString(); }

// The hourglass while a slow step runs.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

// "[name]" with "]" doubled, so any file name stays one table name.
QString BracketedName(const std::string& table) {
  QString name = DisplayText(table);
  name.replace("]", "]]");
  return "[" + name + "]";
}

}  // namespace

TfrmTestTextDSN::TfrmTestTextDSN(const std::string& folder, TextDsnDialogSettings settings, UserDialogs& dialogs,
                                 SoundEffects& sounds, Launcher& launcher, QWidget* parent)
    : QDialog(parent),
      folder_(folder),
      settings_(std::move(settings)),
      dialogs_(dialogs),
      sounds_(sounds),
      launcher_(launcher),
      dsnCreator_(DialogDsnCreator(settings_.homeFolder)),
      databaseName_("quorlin-dsn-" + QUuid::createUuid().toString(QUuid::WithoutBraces)) {
  setObjectName("frmTestTextDSN");
  setProperty("helpContext", kHelpDsnDialog);
  setWindowTitle("Test Text DSN");
  BuildControls();
  resize(620, 440);
}

TfrmTestTextDSN::~TfrmTestTextDSN() { CloseTable(); }

void TfrmTestTextDSN::BuildControls() {
  dsnNameBox = Named(new QLineEdit(kDefaultDsnName), "Edit1");
  descriptionBox = Named(new QLineEdit(kDefaultDsnDescription), "Edit2");
  extensionsBox = Named(new QLineEdit(kDefaultDsnExtensions), "Edit3");
  auto* boxes = new QFormLayout;
  boxes->addRow("DSN Name", dsnNameBox);
  boxes->addRow("Description", descriptionBox);
  boxes->addRow("File Extensions", extensionsBox);

  lstSchema = Named(new QListWidget, "lstSchema");
  lstSchema->setMaximumHeight(110);
  btnAdd = Named(new QPushButton("&Add DSN"), "btnAdd");
  btnConfigure = Named(new QPushButton("&Configure DSN"), "btnConfigure");
  btnRemove = Named(new QPushButton("&Remove DSN"), "btnRemove");
  btnOpenTable = Named(new QPushButton("&Open Table"), "btnOpenTable");
  cmdClose = Named(new QPushButton("Close"), "cmdClose");
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {btnAdd, btnConfigure, btnRemove, btnOpenTable, cmdClose}) buttons->addWidget(button);
  buttons->addStretch();

  rows_ = new TableRowsModel(this);
  tableGrid = Named(new QTableView, "DBGrid1");
  tableGrid->setModel(rows_);
  tableGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tableGrid->setWordWrap(false);
  tableGrid->verticalHeader()->setMinimumSectionSize(1);
  tableGrid->verticalHeader()->setDefaultSectionSize(PlatformRowHeight(*tableGrid));

  auto* top = new QGridLayout;
  top->addLayout(boxes, 0, 0);
  top->addWidget(new QLabel("Tables"), 1, 0);
  top->addWidget(lstSchema, 2, 0);
  top->addLayout(buttons, 0, 1, 3, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(tableGrid, 1);

  connect(dsnNameBox, &QLineEdit::editingFinished, this, [this] { dsnNameBoxExit(); });
  connect(btnAdd, &QPushButton::clicked, this, [this] { btnAddClick(); });
  connect(btnConfigure, &QPushButton::clicked, this, [this] { btnConfigureClick(); });
  connect(btnRemove, &QPushButton::clicked, this, [this] { btnRemoveClick(); });
  connect(btnOpenTable, &QPushButton::clicked, this, [this] { btnOpenTableClick(); });
  connect(cmdClose, &QPushButton::clicked, this, [this] { accept(); });
}

void TfrmTestTextDSN::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TfrmTestTextDSN::FormShow() {
  if (folder_.empty()) {
    dialogs_.Inform(kNoFolderMessage);
    QTimer::singleShot(0, this, [this] { reject(); });
    return;
  }
  folder_ = WithTrailingSlash(folder_);
}

void TfrmTestTextDSN::done(int result) {
  // Closing lets the open table go; a failure to close it does not keep the window open.
  CloseTable();
  QDialog::done(result);
}

void TfrmTestTextDSN::dsnNameBoxExit() { dsnNameBox->setText(DisplayText(DsnNameFromBox(Bytes(dsnNameBox)))); }

TextDsnRequest TfrmTestTextDSN::Request() {
  dsnNameBoxExit();
  return {folder_, Bytes(dsnNameBox), Bytes(descriptionBox), Bytes(extensionsBox)};
}

void TfrmTestTextDSN::Tone(bool success) {
  if (settings_.soundsEnabled) sounds_.PlayTone(success ? kSuccessHz : kFailureHz, kToneMs);
}

void TfrmTestTextDSN::Report(const TextDsnOutcome& outcome, const std::function<void()>& refresh) {
  for (const std::string& box : outcome.errorBoxes) dialogs_.ShowError(DisplayText(box));
  // A refusal the creator has shown is the whole answer; a failure message after it says less.
  if (!outcome.ok && !outcome.errorBoxes.empty()) {
    Tone(false);
    return;
  }
  if (outcome.ok) {
    const WaitCursor wait;
    refresh();
  }
  Tone(outcome.ok);
  dialogs_.Inform(outcome.message.c_str());
}

void TfrmTestTextDSN::btnAddClick() {
  btnOpenTable->setEnabled(false);
  const TextDsnOutcome outcome = AddTextDsn(dsnCreator_, Request(), settings_.scope);
  extensionsBox->setText(DisplayText(outcome.extensions));
  Report(outcome, [&] {
    CloseTable();
    tableConnection_ = outcome.name;
    RebuildTableList();
  });
  btnOpenTable->setEnabled(outcome.ok);
}

void TfrmTestTextDSN::btnConfigureClick() {
  const TextDsnRequest request = Request();
  btnOpenTable->setEnabled(false);
  const TextDsnOutcome outcome = ConfigureTextDsn(dsnCreator_, request, settings_.scope);
  Report(outcome, [&] {
    extensionsBox->setText(DisplayText(outcome.extensions));
    RebuildTableList();
  });
  btnOpenTable->setEnabled(outcome.ok);
}

void TfrmTestTextDSN::btnRemoveClick() {
  CloseTable();
  Report(RemoveTextDsn(dsnCreator_, Bytes(dsnNameBox), settings_.scope), [] {});
}

void TfrmTestTextDSN::btnOpenTableClick() {
  if (lstSchema->count() == 0) return;
  CloseTable();
  if (lstSchema->currentItem() == nullptr) lstSchema->setCurrentRow(0);
  tableName_ = lstSchema->currentItem()->data(Qt::UserRole).toString().toStdString();
  dialogs_.Inform(DisplayText(tableConnection_));
  bool opened = false;
  {
    const WaitCursor wait;
    opened = OpenTable();
    if (opened) Tone(true);
  }
  if (!opened) {
    dialogs_.Inform(kOpenFailedMessage);
    launcher_.OpenHelp(kHelpOdbcErrors);
    return;
  }
  dialogs_.Inform(kTableOpenedMessage);
}

void TfrmTestTextDSN::RebuildTableList() {
  lstSchema->clear();
  for (const std::string& table : DsnTableList(folder_, Bytes(extensionsBox))) {
    auto* item = new QListWidgetItem(DisplayText(table), lstSchema);
    item->setData(Qt::UserRole, QString::fromStdString(table));
  }
}

bool TfrmTestTextDSN::OpenTable() {
  QSqlDatabase database = QSqlDatabase::addDatabase("QODBC", databaseName_);
  database.setDatabaseName(DisplayText(tableConnection_));
  if (tableConnection_.empty() || !database.open()) return false;
  QSqlQuery query(database);
  query.setForwardOnly(true);
  if (!query.exec("SELECT * FROM " + BracketedName(tableName_))) return false;
  rows_->Show(std::move(query));
  return true;
}

void TfrmTestTextDSN::CloseTable() {
  rows_->Clear();
  if (!QSqlDatabase::contains(databaseName_)) return;
  QSqlDatabase::database(databaseName_, false).close();
  QSqlDatabase::removeDatabase(databaseName_);
}

}  // namespace quorlin
