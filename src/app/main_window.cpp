#include "app/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QFileSystemModel>
#include <QFileSystemWatcher>
#include <QTimer>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QTreeView>
#include <new>

#include "app/context_help_key.h"
#include "app/display_text.h"
#include "app/field_list_model.h"
#include "app/help_topics.h"
#include "app/item_rows.h"
#include "app/preview_grid_model.h"
#include "app/ruler_view.h"
#include "app/user_dialogs.h"
#include "platform/file_error.h"

namespace quorlin {

namespace {

constexpr int kMargin = 10;            // the grid is 20 pixels narrower than the window
constexpr int kButtonRowFromBottom = 35;
constexpr int kGapAboveButtons = 6;
constexpr int kCellPadding = 12;  // the margins around a list cell's text
// The File Information box's height at the window's minimum size; of every pixel the window is
// taller, half goes to the box, so that the folders and files grow, and half to the grid.
constexpr int kFileInformationHeight = 300;

const QColor kYellow(Qt::yellow);

// A background of the window's own colours takes black text, so that it reads the same under a
// light and a dark desktop palette.
// A button paints its background and text in roles of its own; the colour goes to those too.
void Colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  palette.setColor(role == QPalette::Window ? QPalette::WindowText : QPalette::Text, Qt::black);
  if (role == QPalette::Window) {
    palette.setColor(widget->backgroundRole(), colour);
    palette.setColor(widget->foregroundRole(), Qt::black);
    widget->setAutoFillBackground(true);
  }
  widget->setPalette(palette);
}

template <typename W>
W* Named(W* widget, const char* name) {
  widget->setObjectName(name);
  return widget;
}

QLineEdit* NumberBox(const char* name, const QString& text, int width) {
  auto* box = Named(new QLineEdit(text), name);
  box->setAlignment(Qt::AlignRight);
  box->setFixedWidth(width);
  return box;
}

// Keeps the space of a control that the other view shows, so the layout does not jump.
void HiddenKeepingPlace(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
  widget->hide();
}

}  // namespace

TfrmQuorlin::TfrmQuorlin(AppEnvironment environment, QWidget* parent)
    : QMainWindow(parent), env_(std::move(environment)) {
  setObjectName("frmQuorlin");
  setProperty("helpContext", 100);
  setWindowTitle("Define Text File Format");
  fieldModel_ = new FieldListModel(&file_.Fields(), this);
  gridModel_ = new PreviewGridModel(&file_.Preview(), this);
  BuildControls();
  SetHelpContexts(*this, MainWindowControlHelp());
  BuildMenus();
  folderWatcher_ = new QFileSystemWatcher(this);
  folderWatcher_->setObjectName("folderWatcher");
  filesChanged_ = new QTimer(this);
  filesChanged_->setSingleShot(true);
  filesChanged_->setInterval(200);
  setAcceptDrops(true);
  // A file dropped on a box opens like one dropped anywhere else on the window.
  for (QLineEdit* box : findChildren<QLineEdit*>()) box->setAcceptDrops(false);
  setMinimumSize(795, 555);
  setGeometry(100, 110, 796, 555);
  ConnectControls();
  ConnectMenus();
  RunCommand([this] { StartUp(); });
}

TfrmQuorlin::~TfrmQuorlin() {
  // The controls die after this window's members; they must not reach its handlers then.
  for (QObject* child : findChildren<QObject*>()) {
    child->removeEventFilter(this);
    child->disconnect(this);
  }
  // The views read the field list, which is a member: they go first.
  delete takeCentralWidget();
}

void TfrmQuorlin::BuildControls() {
  auto* central = new QWidget(this);
  central->setObjectName("pnlMain");
  setCentralWidget(central);
  central->installEventFilter(this);

  gpInfo = BuildFileInformation();
  gpInfo->setParent(central);

  grdData = Named(new QTableView(central), "grdData");
  grdData->setModel(gridModel_);
  // The field numbers and names stay in sight above the data: they are the grid's heading,
  // and the model's first rows, which hold them, are not shown again below it.
  QHeaderView* headings = grdData->horizontalHeader();
  headings->setObjectName("grdDataHeadings");
  headings->setSectionsClickable(false);
  headings->setHighlightSections(false);
  connect(gridModel_, &QAbstractItemModel::modelReset, grdData, [this] {
    for (int row = 0; row < PreviewGridModel::kFixedRows; ++row) grdData->setRowHidden(row, true);
  });
  grdData->verticalHeader()->hide();
  headings->setMinimumSectionSize(8);
  grdData->verticalHeader()->setDefaultSectionSize(PlatformRowHeight(*grdData));
  grdData->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdData->setSelectionMode(QAbstractItemView::NoSelection);
  grdData->setWordWrap(false);

  pnlImg = new RulerView(central);
  pnlImg->SetBreaks(&file_.Breaks());
  pnlImg->hide();

  cmdSchemaDelete = Named(new QPushButton("&Delete From Schema", central), "cmdSchemaDelete");
  cmdSchemaDelete->setEnabled(false);
  cmdSave = Named(new QPushButton("&Save To Schema", central), "cmdSave");
  cmdClose = Named(new QPushButton("Close", central), "cmdClose");
  // A larger desktop font makes the buttons larger than their usual size, never smaller.
  for (QPushButton* button : {cmdSchemaDelete, cmdSave, cmdClose}) {
    button->resize(button->sizeHint().expandedTo(QSize(140, 27)));
  }
}

QGroupBox* TfrmQuorlin::BuildFileInformation() {
  auto* box = Named(new QGroupBox("File Information"), "gpInfo");
  auto* columns = new QHBoxLayout(box);
  columns->setContentsMargins(6, 4, 6, 6);
  columns->setSpacing(6);

  // Folders above, the folder's files (or its schema sections) below.
  auto* folderColumn = new QVBoxLayout;
  folderModel_ = new QFileSystemModel(this);
  folderModel_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folderModel_->setRootPath("/");
  dirList = Named(new QTreeView, "dirList");
  dirList->setModel(folderModel_);
  dirList->setRootIndex(folderModel_->index("/"));
  for (int column = 1; column < folderModel_->columnCount(); ++column) dirList->hideColumn(column);
  dirList->setHeaderHidden(true);
  dirList->setMinimumWidth(170);
  dirList->setContextMenuPolicy(Qt::DefaultContextMenu);
  folderColumn->addWidget(dirList, 1);

  auto* listChoice = new QHBoxLayout;
  chkDefined = Named(new QCheckBox("Schema"), "chkDefined");
  chkODBCOnly = Named(new QCheckBox("ODBC Only"), "chkODBCOnly");
  chkODBCOnly->setChecked(true);
  listChoice->addWidget(chkDefined);
  listChoice->addWidget(chkODBCOnly);
  listChoice->addStretch();
  folderColumn->addLayout(listChoice);

  // The break list of the fixed-length view goes under the files, which keep the column's width.
  auto* lists = new QVBoxLayout;
  auto* fileArea = new QGridLayout;
  lstFiles = Named(new QListWidget, "lstFiles");
  lstFiles->setSortingEnabled(true);
  // Filled in the schema list's own order, which ignores letter case as the widget's does not.
  lstSchema = Named(new QListWidget, "lstSchema");
  lstSchema->hide();
  fileArea->addWidget(lstFiles, 0, 0);
  fileArea->addWidget(lstSchema, 0, 0);
  lists->addLayout(fileArea, 1);
  lstLines = Named(new QListWidget, "lstLines");
  lstLines->setFlow(QListView::LeftToRight);
  lstLines->setWrapping(true);
  lstLines->setSpacing(1);
  lstLines->setMaximumHeight(3 * lstLines->fontMetrics().height() + 14);
  Colour(lstLines, QPalette::Base, kYellow);
  lstLines->hide();
  lists->addWidget(lstLines, 1);
  folderColumn->addLayout(lists, 1);
  columns->addLayout(folderColumn, 4);

  // How the file is cut into fields, and which file.
  auto* options = new QGridLayout;
  options->setVerticalSpacing(4);
  chkHeaderRow = Named(new QCheckBox("Header Row?"), "chkHeaderRow");
  optFixed = Named(new QRadioButton("Fixed Length"), "optFixed");
  optFixed->setToolTip("First Row MUST be Titles, COMMA Separated");
  Colour(optFixed, QPalette::Window, kYellow);
  optSpace = Named(new QRadioButton("Space"), "optSpace");
  optTab = Named(new QRadioButton("Tab"), "optTab");
  optComma = Named(new QRadioButton("Comma"), "optComma");
  optComma->setChecked(true);
  optCustom = Named(new QRadioButton("Custom"), "optCustom");
  optCustom->setToolTip("Enter Character Separator (One Character Only)");
  txtChar = Named(new QLineEdit, "txtChar");
  txtChar->setMaxLength(1);
  txtChar->setAlignment(Qt::AlignCenter);
  txtChar->setFixedWidth(26);
  txtChar->setEnabled(false);
  options->addWidget(chkHeaderRow, 0, 0);
  options->addWidget(optFixed, 0, 1);
  options->addWidget(optSpace, 1, 0);
  options->addWidget(optTab, 1, 1);
  options->addWidget(optComma, 2, 0);
  auto* custom = new QHBoxLayout;
  custom->addWidget(optCustom);
  custom->addWidget(txtChar);
  custom->addStretch();
  options->addLayout(custom, 2, 1);

  auto labelled = [](const char* caption, QWidget* buddy) {
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    return label;
  };
  auto* numbers = new QGridLayout;
  numbers->setVerticalSpacing(4);
  txtStart = NumberBox("txtStart", "1", 44);
  txtRows = NumberBox("txtRows", "25", 44);
  numbers->addWidget(labelled("Start Row", txtStart), 0, 0);
  numbers->addWidget(txtStart, 0, 1);
  numbers->addWidget(labelled("Scan Rows", txtRows), 0, 2);
  numbers->addWidget(txtRows, 0, 3);
  cboTextChar = Named(new QComboBox, "cboTextChar");
  cboTextChar->setEditable(true);
  cboTextChar->addItems({"\"", "'", "{none}"});
  cboTextChar->setCurrentText("\"");
  cboTextChar->setFixedWidth(80);
  numbers->addWidget(labelled("Text Qualifier", cboTextChar), 1, 0, 1, 2);
  numbers->addWidget(cboTextChar, 1, 2, 1, 2);
  // The file's own date order and decimal symbol; the first item leaves them to the locale.
  cboDateOrder = Named(new QComboBox, "cboDateOrder");
  cboDecimal = Named(new QComboBox, "cboDecimal");
  cboDateOrder->addItem(kLocaleChoice);
  for (const std::string_view order : kDateOrders) cboDateOrder->addItem(QString::fromLatin1(order));
  cboDecimal->addItem(kLocaleChoice);
  for (const std::string_view symbol : kDecimalSymbols) cboDecimal->addItem(QString::fromLatin1(symbol));
  numbers->addWidget(labelled("Date Order", cboDateOrder), 3, 0, 1, 2);
  numbers->addWidget(cboDateOrder, 3, 2, 1, 2);
  numbers->addWidget(labelled("Decimal", cboDecimal), 4, 0, 1, 2);
  numbers->addWidget(cboDecimal, 4, 2, 1, 2);
  cboCharacterSet = Named(new QComboBox, "cboCharacterSet");
  for (const std::string& name : CharacterSetNames()) cboCharacterSet->addItem(QString::fromStdString(name));
  numbers->addWidget(labelled("Character Set", cboCharacterSet), 5, 0, 1, 2);
  numbers->addWidget(cboCharacterSet, 5, 2, 1, 2);
  txtFieldCount = Named(new QLineEdit("0"), "txtFieldCount");
  txtFieldCount->setReadOnly(true);
  txtFieldCount->setAlignment(Qt::AlignRight);
  txtFieldCount->setFixedWidth(44);
  txtLength = NumberBox("txtLength", "80", 44);
  lblFieldCount = Named(labelled("Fixed Fields", txtFieldCount), "lblFieldCount");
  lblLength = Named(labelled("Line Length", txtLength), "lblLength");
  for (QWidget* control : {static_cast<QWidget*>(lblFieldCount), static_cast<QWidget*>(lblLength)}) {
    Colour(control, QPalette::Window, kYellow);
  }
  for (QLineEdit* control : {txtFieldCount, txtLength}) Colour(control, QPalette::Base, kYellow);
  numbers->addWidget(lblFieldCount, 2, 0);
  numbers->addWidget(txtFieldCount, 2, 1);
  numbers->addWidget(lblLength, 2, 2);
  numbers->addWidget(txtLength, 2, 3);
  for (QWidget* control : {static_cast<QWidget*>(lblFieldCount), static_cast<QWidget*>(txtFieldCount),
                           static_cast<QWidget*>(lblLength), static_cast<QWidget*>(txtLength)}) {
    HiddenKeepingPlace(control);
  }
  options->addLayout(numbers, 3, 0, 1, 2);

  auto* loadButtons = new QHBoxLayout;
  cmdViewData = Named(new QPushButton("&View Data"), "cmdViewData");
  cmdRefresh = Named(new QPushButton("&Refresh"), "cmdRefresh");
  loadButtons->addWidget(cmdViewData);
  loadButtons->addWidget(cmdRefresh);
  options->addLayout(loadButtons, 4, 0, 1, 2);

  txtInputFile = Named(new QLineEdit, "txtInputFile");
  options->addWidget(labelled("Input File", txtInputFile), 5, 0, 1, 2);
  options->addWidget(txtInputFile, 6, 0, 1, 2);
  auto* fileButtons = new QHBoxLayout;
  cmdBrowse = Named(new QPushButton("&Browse"), "cmdBrowse");
  cmdGuess = Named(new QPushButton("&Guess Field Types"), "cmdGuess");
  fileButtons->addWidget(cmdBrowse);
  fileButtons->addWidget(cmdGuess);
  options->addLayout(fileButtons, 7, 0, 1, 2);
  options->setRowStretch(8, 1);
  columns->addLayout(options, 5);

  // The field editor above the field list.
  auto* fieldColumn = new QVBoxLayout;
  gpFields = BuildFieldData();
  fieldColumn->addWidget(gpFields);
  auto* listRow = new QHBoxLayout;
  lvwFields = Named(new QTreeView, "lvwFields");
  lvwFields->setModel(fieldModel_);
  lvwFields->setRootIsDecorated(false);
  lvwFields->setItemsExpandable(false);
  lvwFields->setUniformRowHeights(true);
  lvwFields->setSelectionBehavior(QAbstractItemView::SelectRows);
  lvwFields->setSelectionMode(QAbstractItemView::SingleSelection);
  lvwFields->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvwFields->setAllColumnsShowFocus(true);
  // The Type column is as wide as its widest word, "Unknown" included, in the list's font.
  int typeWidth = 60;
  const auto widen = [&](std::string_view word) {
    const QString text = QString::fromLatin1(word.data(), static_cast<qsizetype>(word.size()));
    typeWidth = std::max(typeWidth, lvwFields->fontMetrics().horizontalAdvance(text) + kCellPadding);
  };
  for (const std::string_view type : kFieldTypeNames) widen(type);
  widen(kUnknownType);
  // The Format column, last and stretched with the list, gives up what Type takes.
  const int widths[] = {90, typeWidth, 50, std::max(40, 90 - (typeWidth - 60))};
  for (int column = 0; column < 4; ++column) lvwFields->setColumnWidth(column, widths[column]);
  lvwFields->setMinimumWidth(250);
  listRow->addWidget(lvwFields, 1);
  auto* moveButtons = new QVBoxLayout;
  cmdUp = Named(new QPushButton, "cmdUp");
  cmdUp->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
  cmdUp->setToolTip("Move the selected field up");
  cmdDown = Named(new QPushButton, "cmdDown");
  cmdDown->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
  cmdDown->setToolTip("Move the selected field down");
  for (QPushButton* button : {cmdUp, cmdDown}) {
    button->setFixedSize(28, 28);
    moveButtons->addWidget(button);
  }
  moveButtons->addStretch();
  listRow->addLayout(moveButtons);
  fieldColumn->addLayout(listRow, 1);
  columns->addLayout(fieldColumn, 7);
  return box;
}

QGroupBox* TfrmQuorlin::BuildFieldData() {
  auto* box = Named(new QGroupBox("Field Data"), "gpFields");
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(6, 2, 6, 6);
  grid->setVerticalSpacing(2);
  txtFieldName = Named(new QLineEdit, "txtFieldName");
  luFieldType = Named(new QComboBox, "luFieldType");
  luFieldType->setEditable(true);
  for (std::string_view type : kFieldTypeNames) {
    luFieldType->addItem(QString::fromLatin1(type.data(), static_cast<qsizetype>(type.size())));
  }
  luFieldType->setCurrentIndex(-1);
  luFieldType->setInsertPolicy(QComboBox::NoInsert);
  txtWidth = NumberBox("txtWidth", "0", 50);
  cboDateTime = Named(new QComboBox, "cboDateTime");
  cboDateTime->setEditable(true);
  cboDateTime->setInsertPolicy(QComboBox::NoInsert);
  for (std::string_view format : kDateFormats) {
    cboDateTime->addItem(QString::fromLatin1(format.data(), static_cast<qsizetype>(format.size())));
  }
  auto addLabel = [grid](const char* caption, QWidget* buddy, int column) {
    auto* label = new QLabel(caption);
    label->setBuddy(buddy);
    grid->addWidget(label, 0, column);
    return label;
  };
  addLabel("Field Name", txtFieldName, 0);
  addLabel("Field Type", luFieldType, 1);
  addLabel("Width", txtWidth, 2);
  grid->addWidget(txtFieldName, 1, 0);
  grid->addWidget(luFieldType, 1, 1);
  grid->addWidget(txtWidth, 1, 2);
  lblDateTime = Named(new QLabel("Date Format"), "lblDateTime");
  lblDateTime->setBuddy(cboDateTime);
  grid->addWidget(lblDateTime, 2, 0);
  grid->addWidget(cboDateTime, 2, 1, 1, 2);
  HiddenKeepingPlace(lblDateTime);
  HiddenKeepingPlace(cboDateTime);
  auto* buttons = new QHBoxLayout;
  cmdAdd = Named(new QPushButton("&ADD"), "cmdAdd");
  cmdModify = Named(new QPushButton("&Modify"), "cmdModify");
  // Alt+D belongs to "&Delete From Schema".
  cmdRemove = Named(new QPushButton("De&lete"), "cmdRemove");
  for (QPushButton* button : {cmdAdd, cmdModify, cmdRemove}) buttons->addWidget(button);
  grid->addLayout(buttons, 3, 0, 1, 3);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
  return box;
}

void TfrmQuorlin::ConnectControls() {
  auto command = [this](auto method) { return [this, method] { RunCommand([this, method] { (this->*method)(); }); }; };
  connect(cmdBrowse, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdBrowseClick));
  connect(cmdRefresh, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdRefreshClick));
  connect(cmdViewData, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdViewDataClick));
  connect(cmdClose, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdCloseClick));
  connect(cmdSave, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdSaveClick));
  connect(cmdGuess, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdGuessClick));
  connect(cmdSchemaDelete, &QPushButton::clicked, this,
          command(&TfrmQuorlin::cmdSchemaDeleteClick));
  connect(cmdAdd, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdAddClick));
  connect(cmdModify, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdModifyClick));
  connect(cmdRemove, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdRemoveClick));
  connect(cmdUp, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdUpClick));
  connect(cmdDown, &QPushButton::clicked, this, command(&TfrmQuorlin::cmdDownClick));
  connect(lstFiles, &QListWidget::itemDoubleClicked, this,
          command(&TfrmQuorlin::lstFilesDblClick));
  connect(lstSchema, &QListWidget::itemDoubleClicked, this,
          command(&TfrmQuorlin::lstSchemaDblClick));
  connect(dirList->selectionModel(), &QItemSelectionModel::currentChanged, this,
          command(&TfrmQuorlin::FolderChange));
  // The tree fills in and sorts folders in the background; keep a folder the program chose in
  // sight while it does, until the user takes the tree in hand.
  const auto keepCurrentFolderInSight = [this] {
    const QModelIndex current = dirList->currentIndex();
    if (!followChosenFolder_ || !current.isValid()) return;
    for (QModelIndex above = current.parent(); above.isValid(); above = above.parent()) {
      dirList->expand(above);
    }
    dirList->scrollTo(current, QAbstractItemView::PositionAtCenter);
  };
  connect(folderModel_, &QFileSystemModel::directoryLoaded, this, keepCurrentFolderInSight);
  connect(folderModel_, &QFileSystemModel::layoutChanged, this, keepCurrentFolderInSight);
  connect(chkDefined, &QCheckBox::toggled, this,
          [this](bool checked) { RunCommand([this, checked] { chkDefinedClick(checked); }); });
  connect(chkHeaderRow, &QCheckBox::toggled, this,
          [this](bool checked) { RunCommand([this, checked] { chkHeaderRowClick(checked); }); });
  connect(cboCharacterSet, &QComboBox::textActivated, this,
          [this](const QString& name) { RunCommand([this, name] { cboCharacterSetChange(name); }); });
  connect(chkODBCOnly, &QCheckBox::toggled, this,
          [this](bool checked) { RunCommand([this, checked] { chkODBCOnlyClick(checked); }); });
  const std::pair<QRadioButton*, SeparatorKind> delimited[] = {{optSpace, SeparatorKind::Space},
                                                               {optTab, SeparatorKind::Tab},
                                                               {optComma, SeparatorKind::Comma},
                                                               {optCustom, SeparatorKind::Custom}};
  for (const auto& [button, kind] : delimited) {
    connect(button, &QRadioButton::toggled, this, [this, kind](bool checked) {
      if (checked) RunCommand([this, kind] { optDelimitedClick(kind); });
    });
  }
  connect(optFixed, &QRadioButton::toggled, this, [this](bool checked) {
    if (checked) RunCommand([this] { optFixedClick(); });
  });
  connect(pnlImg, &RulerView::breakToggleRequested, this,
          [this](int position) { RunCommand([this, position] { ToggleBreak(position); }); });
  connect(lvwFields, &QTreeView::clicked, this, command(&TfrmQuorlin::lvwFieldsClick));
  connect(lvwFields->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
    if (quietSelection_ == 0) RunCommand([this] { lvwFieldsClick(); });
  });
  connect(luFieldType, &QComboBox::activated, this, command(&TfrmQuorlin::luFieldTypeClick));
  connect(luFieldType->lineEdit(), &QLineEdit::textEdited, this,
          command(&TfrmQuorlin::luFieldTypeClick));
  connect(folderWatcher_, &QFileSystemWatcher::directoryChanged, filesChanged_, qOverload<>(&QTimer::start));
  connect(filesChanged_, &QTimer::timeout, this, [this] { RefreshFolderFiles(); });
  ConnectLayoutBoxes();
  for (QLineEdit* box : {txtStart, txtRows, txtWidth, txtLength}) box->installEventFilter(this);
  grdData->viewport()->installEventFilter(this);
  dirList->viewport()->installEventFilter(this);
  luFieldType->lineEdit()->installEventFilter(this);
}

// The boxes hand every change of their text to the open file at once, so that what a command
// reads is what the boxes show; checking a number waits until the box is left.
void TfrmQuorlin::ConnectLayoutBoxes() {
  connect(txtStart, &QLineEdit::textChanged, this,
          [this](const QString& text) { file_.SetStartRow(text.toStdString()); });
  connect(txtRows, &QLineEdit::textChanged, this,
          [this](const QString& text) { file_.SetRowsToScan(text.toStdString()); });
  connect(txtLength, &QLineEdit::textChanged, this,
          [this](const QString& text) { file_.SetLineLength(text.toStdString()); });
  connect(txtChar, &QLineEdit::textChanged, this,
          [this](const QString& text) { file_.SetCustomSeparator(InputCharacterText(text)); });
  connect(cboTextChar, &QComboBox::currentTextChanged, this,
          [this](const QString& text) { file_.SetQualifier(InputCharacterText(text)); });
  const auto conventionChosen = [this] {
    file_.SetConventions({ChoiceBytes(cboDateOrder->currentText()), ChoiceBytes(cboDecimal->currentText())});
    file_.MarkLayoutChanged();
  };
  connect(cboDateOrder, &QComboBox::currentTextChanged, this, conventionChosen);
  connect(cboDecimal, &QComboBox::currentTextChanged, this, conventionChosen);
  connect(txtInputFile, &QLineEdit::textChanged, this,
          [this](const QString& text) { file_.SetInputText(TypedBytes(text, file_.InputText())); });
}

bool TfrmQuorlin::eventFilter(QObject* watched, QEvent* event) {
  if (watched == centralWidget() && event->type() == QEvent::Resize) {
    ApplyResizeRule();
  } else if (grdData != nullptr && watched == grdData->viewport() &&
             event->type() == QEvent::Resize) {
    FitGridColumns();
  } else if (watched == dirList->viewport() &&
             (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick ||
              event->type() == QEvent::Wheel)) {
    // The right button is for the folder's menu; it must not choose the folder.
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse != nullptr && mouse->button() != Qt::LeftButton) return true;
    followChosenFolder_ = false;
  } else if (event->type() == QEvent::FocusOut) {
    // Leaving a box for a menu or another window is not leaving it for good.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      if (watched == luFieldType->lineEdit()) {
        RunCommand([this] { luFieldTypeClick(); });
      } else if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        RunCommand([this, box] { ValidateNumberBox(box); });
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TfrmQuorlin::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  ApplyResizeRule();
}

void TfrmQuorlin::ApplyResizeRule() {
  QWidget* central = centralWidget();
  if (central == nullptr || gpInfo == nullptr) return;
  const int width = central->width() - 2 * kMargin;
  const int taller = std::max(0, height() - minimumHeight());
  // In a larger desktop font the box needs more than its usual height to show its controls.
  const int infoHeight = std::max(kFileInformationHeight, gpInfo->minimumSizeHint().height());
  gpInfo->setGeometry(kMargin, 2, width, infoHeight + taller / 2);
  const int buttonsTop = central->height() - std::max(kButtonRowFromBottom, cmdClose->height() + 8);
  const int gridTop = gpInfo->geometry().bottom() + 6;
  grdData->setGeometry(kMargin, gridTop, width, std::max(0, buttonsTop - gridTop - kGapAboveButtons));
  pnlImg->setGeometry(grdData->geometry());
  cmdSchemaDelete->move(kMargin, buttonsTop);
  cmdSave->move(kMargin + width / 2 - cmdSave->width() / 2, buttonsTop);
  cmdClose->move(kMargin + width - cmdClose->width(), buttonsTop);
  FitGridColumns();
}

void TfrmQuorlin::FitGridColumns() {
  const int columns = gridModel_->columnCount();
  grdData->horizontalHeader()->setDefaultSectionSize(PreviewColumnWidth(grdData->viewport()->width(), columns));
}

void TfrmQuorlin::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::bad_alloc&) {
    // Whatever ran out of memory was working on the open file; the message names it.
    ShowModel();
    env_.dialogs->ShowError(DisplayText(OutOfMemoryError(file_.InputPath()).what()));
  } catch (const std::exception& error) {
    ShowModel();
    env_.dialogs->ShowError(DisplayText(error.what()));
  }
  ShowModel();
}

}  // namespace quorlin
