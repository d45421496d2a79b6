// The height of a row of a grid in the desktop's font and style.
#pragma once

class QTableView;

namespace quorlin {

// What the view's delegate asks for one line of text, with the grid line below it.
int PlatformRowHeight(const QTableView& view);

}  // namespace quorlin
