#include "app/report_printer.h"

#include <QFont>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace quorlin {

namespace {

// The report lines up its columns by character count, so it needs a font of one pitch;
// "Courier New" where it is installed, else whatever fixed-pitch font the desktop maps it to.
QFont ReportFont() {
  QFont font("Courier New", 10);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

}  // namespace

PrintOutcome QtReportPrinter::Print(const QString& jobName, const QString& text) {
  const QPrinterInfo target = QPrinterInfo::defaultPrinter();
  if (target.isNull()) return PrintOutcome::NoPrinter;
  QPrinter printer(target, QPrinter::HighResolution);
  if (!printer.isValid()) return PrintOutcome::NoPrinter;
  printer.setDocName(jobName);

  QTextDocument document;
  document.setDefaultFont(ReportFont());
  QString plain = text;
  plain.remove(QLatin1Char('\r'));
  document.setPlainText(plain);
  // The document lays itself out on the printer's pages and breaks them where they are full.
  document.print(&printer);
  return printer.printerState() == QPrinter::Error ? PrintOutcome::Failed : PrintOutcome::Printed;
}

}  // namespace quorlin
