// "Text DSN" in the main window: the availability check, then the DSN dialog for the folder.
#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include "app/window_fixture.h"
#include "support/odbc_sandbox.h"

namespace quorlin::testing {
namespace {

class MainWindowDsnTest : public WindowTest {
 protected:
  OdbcSandbox sandbox;
};

TEST_F(MainWindowDsnTest, OpensTheDialogForTheSelectedFolder) {
  DataFile("orders.csv", "a\r\n");
  Start(data.Path());
  QString title;
  QString name;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(nullptr, modal);
    title = modal->windowTitle();
    name = modal->findChild<QLineEdit*>("Edit1")->text();
    modal->close();
  });
  Item("mnuTextDSN")->trigger();
  EXPECT_EQ("Test Text DSN", title);
  EXPECT_EQ("MyTextDSN", name);
  EXPECT_EQ(nullptr, QApplication::activeModalWidget());
}

TEST_F(MainWindowDsnTest, WithoutTheTextDriverItSaysSoAndOpensNothing) {
  sandbox.WriteDrivers("", false);
  Start(data.Path());
  dialogs.Expect(BoxKind::Inform);
  Item("mnuTextDSN")->trigger();
  EXPECT_EQ(std::vector<QString>{"Can't find Text ODBC Driver\nPlease check it has been installed"}, dialogs.Texts());
}

}  // namespace
}  // namespace quorlin::testing
