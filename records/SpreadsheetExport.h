#pragma once
// The toolbar's spreadsheet button ("Excelu").

namespace pxr3 {

// Saves the table's filled rows as CSV into the DATA folder and opens the file with the
// desktop's program for it; the table itself is left as it is.
void ExportForSpreadsheet();

} // namespace pxr3
