// Printing the structure report: the seam between the window and the desktop's printers, so
// that the window's print command runs in tests without a print system.
#pragma once

#include <QString>

namespace quorlin {

enum class PrintOutcome {
  Printed,
  NoPrinter,  // no default printer is set up: nothing was printed
  Failed,     // the print system refused the job
};

class ReportPrinter {
 public:
  virtual ~ReportPrinter() = default;
  // Prints `text` (lines ended by "\n" or "\r\n") on the default printer as the job `jobName`,
  // in a fixed-pitch font and over as many pages as it takes, without a print dialog.
  virtual PrintOutcome Print(const QString& jobName, const QString& text) = 0;
};

// Through Qt Print Support.
class QtReportPrinter : public ReportPrinter {
 public:
  PrintOutcome Print(const QString& jobName, const QString& text) override;
};

}  // namespace quorlin
