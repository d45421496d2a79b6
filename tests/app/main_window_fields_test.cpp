// The field editor: select, type change, ADD, Modify, Delete, Up and Down.
#include <QLabel>

#include "app/window_fixture.h"

namespace quorlin::testing {
namespace {

class FieldsTest : public WindowTest {
 protected:
  void SetUp() override {
    Start(DataFile("people.csv", "Anna,Hamburg,,31\r\nBob,Bremen,,42\r\nCarla Koch,Munich, ,7\r\n"));
  }

  QString Box(const char* name) { return Find<QLineEdit>(name)->text(); }
  void ChooseType(const QString& type) {
    auto* types = Find<QComboBox>("luFieldType");
    types->setCurrentText(type);
    emit types->activated(types->currentIndex());
  }
  QStringList Names() {
    QStringList names;
    for (int row = 0; row < FieldRows(); ++row) names << FieldCell(row, 0);
    return names;
  }
  int Selected() {
    const QModelIndexList rows = Find<QTreeView>("lvwFields")->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
  }
};

TEST_F(FieldsTest, SelectingAFieldFillsTheEditorAndMarksItsColumn) {
  ASSERT_EQ(4, FieldRows());
  ClickField(1);
  EXPECT_EQ(1, Selected());
  EXPECT_EQ("Field2", Box("txtFieldName"));
  EXPECT_EQ("Unknown", Find<QComboBox>("luFieldType")->currentText());
  EXPECT_EQ("0", Box("txtWidth"));
  QAbstractItemModel* grid = Find<QTableView>("grdData")->model();
  EXPECT_EQ(QColor(Qt::yellow), grid->data(grid->index(3, 1), Qt::BackgroundRole).value<QBrush>().color());
  EXPECT_EQ(QColor(Qt::white), grid->data(grid->index(3, 0), Qt::BackgroundRole).value<QBrush>().color());
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(FieldsTest, TypeChangeSetsTheWidthByType) {
  ClickField(0);
  ChooseType("Char");
  EXPECT_EQ("10", Box("txtWidth"));  // "Carla Koch"
  EXPECT_TRUE(window->LayoutChanged());
  ChooseType("LongChar");
  EXPECT_EQ("10", Box("txtWidth"));
  ChooseType("Integer");
  EXPECT_EQ("0", Box("txtWidth"));
  ClickField(2);
  ChooseType("Char");
  EXPECT_EQ("-1", Box("txtWidth"));
}

TEST_F(FieldsTest, DateFormatShowsOnlyWithoutTheOdbcRestriction) {
  ClickField(0);
  ChooseType("Date");
  EXPECT_TRUE(Find<QWidget>("cboDateTime")->isHidden());
  Find<QCheckBox>("chkODBCOnly")->setChecked(false);
  ChooseType("DateTime");
  EXPECT_FALSE(Find<QWidget>("cboDateTime")->isHidden());
  EXPECT_FALSE(Find<QWidget>("lblDateTime")->isHidden());
  Find<QComboBox>("cboDateTime")->setCurrentText("dd/MM/yyyy");
  Click("cmdModify");
  EXPECT_EQ("dd/MM/yyyy", FieldCell(0, 3));
  ClickField(1);
  EXPECT_TRUE(Find<QWidget>("cboDateTime")->isHidden());
  ClickField(0);
  EXPECT_FALSE(Find<QWidget>("cboDateTime")->isHidden());
  EXPECT_EQ("dd/MM/yyyy", Find<QComboBox>("cboDateTime")->currentText());
  ChooseType("Char");
  EXPECT_TRUE(Find<QWidget>("cboDateTime")->isHidden());
}

TEST_F(FieldsTest, AddRefusesIncompleteEntries) {
  const std::pair<const char*, QString> blanks[] = {
      {"txtFieldName", " "}, {"txtWidth", ""}, {"txtWidth", "x"}, {"txtRows", " "}, {"txtStart", "a"}};
  for (const auto& [box, text] : blanks) {
    Find<QLineEdit>("txtFieldName")->setText("Extra");
    Find<QComboBox>("luFieldType")->setCurrentText("Char");
    Find<QLineEdit>("txtWidth")->setText("5");
    Find<QLineEdit>("txtRows")->setText("25");
    Find<QLineEdit>("txtStart")->setText("1");
    Find<QLineEdit>(box)->setText(text);
    dialogs.Expect(BoxKind::Inform);
    Click("cmdAdd");
    EXPECT_EQ("Need: Name, Type[, Width]", dialogs.Boxes().back().text) << box;
    EXPECT_EQ(4, FieldRows()) << box;
  }
  EXPECT_FALSE(window->LayoutChanged());
}

TEST_F(FieldsTest, AddAppendsWithoutFormatAndKeepsTheSelection) {
  ClickField(1);
  Find<QCheckBox>("chkODBCOnly")->setChecked(false);
  Find<QLineEdit>("txtFieldName")->setText("Extra");
  ChooseType("Date");
  Find<QLineEdit>("txtWidth")->setText("2.5");
  Click("cmdAdd");
  ASSERT_EQ(5, FieldRows());
  EXPECT_EQ(QStringList({"Extra", "Date", "2.5", ""}),
            QStringList({FieldCell(4, 0), FieldCell(4, 1), FieldCell(4, 2), FieldCell(4, 3)}));
  EXPECT_FALSE(window->Fields()[4].format.has_value());
  EXPECT_EQ(1, Selected());
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(FieldsTest, ModifyReplacesTheFieldAndItsGridName) {
  ClickField(2);
  Find<QLineEdit>("txtFieldName")->setText("");
  Find<QComboBox>("luFieldType")->setCurrentText("Whatever");
  Find<QLineEdit>("txtWidth")->setText("3");
  Click("cmdModify");
  EXPECT_EQ(QStringList({"", "Whatever", "3"}),
            QStringList({FieldCell(2, 0), FieldCell(2, 1), FieldCell(2, 2)}));
  EXPECT_FALSE(window->Fields()[2].format.has_value());
  EXPECT_EQ("", Cell(1, 2));
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(FieldsTest, DeleteSelectsTheFieldBefore) {
  ClickField(2);
  Click("cmdRemove");
  EXPECT_EQ(QStringList({"Field1", "Field2", "Field4"}), Names());
  EXPECT_EQ(1, Selected());
  EXPECT_EQ("Field2", Box("txtFieldName"));
  ClickField(0);
  Click("cmdRemove");
  EXPECT_EQ(QStringList({"Field2", "Field4"}), Names());
  EXPECT_EQ(0, Selected());
  Click("cmdRemove");
  Click("cmdRemove");
  EXPECT_EQ(0, FieldRows());
  EXPECT_EQ("", Box("txtFieldName"));
  EXPECT_EQ("", Find<QComboBox>("luFieldType")->currentText());
  EXPECT_EQ("0", Box("txtWidth"));
  EXPECT_TRUE(window->LayoutChanged());
}

TEST_F(FieldsTest, ModifyAndDeleteNeedASelection) {
  Find<QRadioButton>("optTab")->setChecked(true);
  ASSERT_EQ(0, FieldRows());
  for (const char* button : {"cmdModify", "cmdRemove"}) {
    dialogs.Expect(BoxKind::Inform);
    Click(button);
    EXPECT_EQ("No Field Selected", dialogs.Boxes().back().text) << button;
  }
}

TEST_F(FieldsTest, UpAndDownMoveTheSelectedField) {
  ClickField(1);
  Click("cmdDown");
  EXPECT_EQ(QStringList({"Field1", "Field3", "Field2", "Field4"}), Names());
  EXPECT_EQ(2, Selected());
  Click("cmdUp");
  Click("cmdUp");
  EXPECT_EQ(QStringList({"Field2", "Field1", "Field3", "Field4"}), Names());
  EXPECT_EQ(0, Selected());
  EXPECT_EQ("Field1", Cell(1, 0));  // the grid stays as it was
}

TEST_F(FieldsTest, UpOnTheFirstFieldStillMarksTheLayoutChanged) {
  ClickField(0);
  ASSERT_FALSE(window->LayoutChanged());
  Click("cmdUp");
  EXPECT_EQ(QStringList({"Field1", "Field2", "Field3", "Field4"}), Names());
  EXPECT_TRUE(window->LayoutChanged());
}

}  // namespace
}  // namespace quorlin::testing
