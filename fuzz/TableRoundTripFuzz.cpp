// A table read from any file, saved and read again, must be the same table, and its file the
// same file: what the program saves is what it loads.

#include "core/SharedState.h"
#include "fuzz/FuzzSupport.h"
#include "records/MeasurementTable.h"
#include "records/TableFile.h"

using namespace pxr3;

namespace {

void Load(MeasurementTable &table, const QByteArray &bytes)
{
    const QString path = fuzz::WriteProgramFile(
        QStringLiteral("fuzz.dat"), reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    if (!LoadTableFile(table, path).ok)
        fuzz::Broken("a readable file did not load");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::SetUpProgram(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    MeasurementTable first;
    Load(first, QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    const QByteArray saved = TableFileBytes(first);
    MeasurementTable second;
    Load(second, saved);
    for (int row = 1; row <= kTableRows; ++row)
        for (int column = 1; column < kTableColumns; ++column)
            if (second.text(row, column) != first.text(row, column))
                fuzz::Broken("a saved cell loads back changed:",
                             QStringLiteral("row %1 column %2: \"%3\" became \"%4\"")
                                 .arg(row)
                                 .arg(column)
                                 .arg(first.text(row, column).left(40), second.text(row, column).left(40)));
    if (TableFileBytes(second) != saved)
        fuzz::Broken("the same table saves to another file");
    return 0;
}
