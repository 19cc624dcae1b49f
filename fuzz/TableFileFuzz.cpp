// A table file as the operator opens it: any bytes, read into the table. Every line of the
// file is one row; a cell never holds a line end, and only the last column a TAB.

#include "core/SharedState.h"
#include "fuzz/FuzzSupport.h"
#include "records/MeasurementTable.h"
#include "records/TableFile.h"

using namespace pxr3;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::SetUpProgram(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    MeasurementTable table;
    const FileResult loaded = LoadTableFile(table, fuzz::WriteProgramFile(QStringLiteral("fuzz.dat"), data, size));
    if (!loaded.ok)
        fuzz::Broken("a readable file did not load:", loaded.error);
    for (int row = 1; row <= kTableRows; ++row)
        for (int column = 1; column < kTableColumns; ++column) {
            const QString text = table.text(row, column);
            if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) ||
                (column < kTableColumns - 1 && text.contains(QLatin1Char('\t'))))
                fuzz::Broken("a cell holds what splits a row:",
                             QString::number(row) + QLatin1Char(',') + QString::number(column));
        }
    return 0;
}
