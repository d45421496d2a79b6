#include "app/window_fixture.h"

#include <QFocusEvent>
#include <QHeaderView>

#include "app/ruler_view.h"

namespace quorlin::testing {

void WindowTest::TearDown() {
  window.reset();
  EXPECT_EQ(0u, dialogs.Pending()) << "scripted boxes that never came";
}

AppEnvironment WindowTest::Environment(const std::string& startPath) {
  AppEnvironment environment;
  environment.programFolder = program.Path();
  environment.settingsPath = program.File("Quorlin.INI");
  environment.homeFolder = home.Path();
  environment.startPath = startPath;
  environment.dialogs = &dialogs;
  environment.sounds = &sounds;
  environment.launcher = &launches;
  environment.printer = &printer;
  return environment;
}

void WindowTest::Start(const std::string& startPath) {
  window = std::make_unique<TfrmQuorlin>(Environment(startPath));
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
}

void WindowTest::WriteSettings(const std::string& text) {
  WriteBytes(program.File("Quorlin.INI"), text);
}

std::string WindowTest::DataFile(const std::string& name, const std::string& bytes) {
  WriteBytes(data.File(name), bytes);
  return data.File(name);
}

void WindowTest::DoubleClickFile(const QString& name) {
  auto* files = Find<QListWidget>("lstFiles");
  const QList<QListWidgetItem*> found = files->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(1, found.size()) << name.toStdString();
  files->setCurrentItem(found.first());
  // Synthetic double clicks right after another click are unreliable; the signal is what counts.
  emit files->itemDoubleClicked(found.first());
}

void WindowTest::ClickField(int row) {
  auto* list = Find<QTreeView>("lvwFields");
  const QRect cell = list->visualRect(list->model()->index(row, 0));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
}

void WindowTest::Leave(QWidget* widget) {
  QFocusEvent leaving(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(widget, &leaving);
}

void WindowTest::Enter(const char* box, const QString& text) {
  auto* edit = Find<QLineEdit>(box);
  edit->setText(text);
  Leave(edit);
}

void WindowTest::OpenFromList(const QString& name) {
  dialogs.Expect(BoxKind::Ask, true);
  DoubleClickFile(name);
}

void WindowTest::SwitchToFixedLength() {
  dialogs.Expect(BoxKind::Ask, true);
  Find<QRadioButton>("optFixed")->click();
}

void WindowTest::MarkBreak(int position) {
  auto* ruler = Find<RulerView>("pnlImg");
  const int x = (position - 1) * ruler->CharWidth() + ruler->CharWidth() / 2;
  QTest::mouseClick(ruler->findChild<QWidget*>("imgGrid"), Qt::LeftButton, {},
                    QPoint(x, 2 * ruler->RowHeight() + 2));
}

QString WindowTest::Cell(int row, int column) {
  QAbstractItemModel* model = Find<QTableView>("grdData")->model();
  return model->data(model->index(row, column)).toString();
}

int WindowTest::GridRows() { return Find<QTableView>("grdData")->model()->rowCount(); }

int WindowTest::GridColumns() { return Find<QTableView>("grdData")->model()->columnCount(); }

QString WindowTest::FieldCell(int row, int column) {
  QAbstractItemModel* model = Find<QTreeView>("lvwFields")->model();
  return model->data(model->index(row, column)).toString();
}

int WindowTest::FieldRows() { return Find<QTreeView>("lvwFields")->model()->rowCount(); }

}  // namespace quorlin::testing
