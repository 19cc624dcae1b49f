#include "records/SettingsFiles.h"

#include "core/CommLog.h"
#include "core/NumberText.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/TextFile.h"
#include "core/UserMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <limits>

namespace pxr3 {

const char *const kSettingsFileName = "PARAMETRY.CFG";
const char *const kNuclideFileName = "PXR3.KAL";

namespace {

const char *const kHeader = "PXR3.KAL";

void reportFailure(const QString &description)
{
    ShowMessage(MessageIcon::Critical, QCoreApplication::translate("SettingsFiles", "Krytická chyba"),
                description + QLatin1Char('\r') +
                    QCoreApplication::translate("SettingsFiles", "Chyba v souboru PARAMETRY.CFG !"));
}

template <typename T> void put(QByteArray &bytes, T value)
{
    char raw[sizeof(T)];
    qToLittleEndian(value, raw);
    bytes.append(raw, sizeof(T));
}

template <typename T> T get(const QByteArray &bytes, int offset)
{
    if (offset + int(sizeof(T)) > bytes.size())
        return T(0); // a field beyond the end of a short file reads as zero
    return qFromLittleEndian<T>(bytes.constData() + offset);
}

int16_t inRangeOr(int16_t value, int16_t low, int16_t high, int16_t fallback)
{
    return value < low || value > high ? fallback : value;
}

// One field the way the old line reader took it: leading blanks skipped, a quoted field
// runs to its closing quote, otherwise the field ends at a comma or the line's end.
QString inputField(const QString &line)
{
    qsizetype i = 0;
    while (i < line.size() && (line[i] == QLatin1Char(' ') || line[i] == QLatin1Char('\t')))
        ++i;
    if (i < line.size() && line[i] == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
        return line.mid(i + 1, close < 0 ? -1 : close - i - 1);
    }
    const qsizetype comma = line.indexOf(QLatin1Char(','), i);
    return line.mid(i, comma < 0 ? -1 : comma - i);
}

// A name comes back intact only when quoted if it holds a comma or starts with a blank.
QString nameLine(const QString &name)
{
    QString stored = name;
    stored.replace(QLatin1Char('"'), QLatin1Char('\''));
    const bool quote = stored.contains(QLatin1Char(',')) || stored.startsWith(QLatin1Char(' ')) ||
        stored.startsWith(QLatin1Char('\t'));
    return quote ? QLatin1Char('"') + stored + QLatin1Char('"') : stored;
}

FileResult loadSettings()
{
    const QString path = ProgramPath(QString::fromLatin1(kSettingsFileName));
    QFile file(path);
    // Read only, so that a write-protected file still gives its settings; an absent one is
    // created empty.
    const bool exists = file.exists();
    if (!file.open(exists ? QIODevice::ReadOnly : QIODevice::WriteOnly))
        return {false, file.errorString()};
    const QByteArray bytes = exists ? file.read(kSettingsFileSize) : QByteArray();
    file.close();

    SharedState &s = state();
    s.LinkStatus = inRangeOr(get<int16_t>(bytes, 0), 0, 16, 0);
    s.MeasureTime = inRangeOr(get<int16_t>(bytes, 2), 1, 9999, 100);
    s.RepeatCount = inRangeOr(get<int16_t>(bytes, 4), 1, 1999, 10);
    s.CurrentNuclide = inRangeOr(get<int16_t>(bytes, 6), 0, kNuclideSlots, 0);

    // The window keeps its design placement where the file holds none.
    if (bytes.size() < 12)
        return {};
    const int32_t windowState = get<int32_t>(bytes, 8);
    if (windowState < 0 || windowState > 2)
        return {};
    MainWindowPlacement &window = mainWindowPlacement();
    window.applyState(int16_t(windowState));
    if (windowState != 0 || bytes.size() < kSettingsFileSize)
        return {};
    window.applyPosition(get<int32_t>(bytes, 12), get<int32_t>(bytes, 16));
    const int32_t width = get<int32_t>(bytes, 20);
    const int32_t height = get<int32_t>(bytes, 24);
    if (width > 0 && height > 0)
        window.applySize(width, height);
    return {};
}

FileResult loadNuclides()
{
    const QString path = ProgramPath(QString::fromLatin1(kNuclideFileName));
    if (!QFileInfo::exists(path)) {
        // A first start has no radionuclide file yet; saving the parameters creates it.
        commLog().append(QStringLiteral("Soubor %1 nebyl nalezen, seznam radionuklidů je prázdný").arg(path));
        return {};
    }
    QString text;
    const FileResult read = ReadTextFile(path, text);
    if (!read.ok)
        return read;
    const NuclideFileContent content = ParseNuclideFile(text);
    if (content.headerMatches) {
        SharedState &s = state();
        for (int slot = 1; slot <= content.count; ++slot)
            s.NuclideTable(slot) = content.table(slot);
        s.NuclideCount = int16_t(content.count);
    }
    return {content.error.isEmpty(), content.error};
}

// Shows a failure; true when there was none.
bool reported(const FileResult &result)
{
    if (!result.ok)
        reportFailure(result.error);
    return result.ok;
}

} // namespace

QByteArray SettingsBytes(int16_t linkStatus, int16_t measureTime, int16_t repeatCount, int16_t currentNuclide,
                         const WindowPlacement &placement)
{
    QByteArray bytes;
    put(bytes, linkStatus);
    put(bytes, measureTime);
    put(bytes, repeatCount);
    put(bytes, currentNuclide);
    put(bytes, placement.state);
    put(bytes, placement.top);
    put(bytes, placement.left);
    put(bytes, placement.width);
    put(bytes, placement.height);
    return bytes;
}

QStringList NuclideFileLines(const NuclideTable &table, int count)
{
    QStringList lines{QString::fromLatin1(kHeader)};
    for (int slot = 1; slot <= count && slot <= kNuclideSlots; ++slot) {
        const NuclideRecord &r = table(slot);
        lines << nameLine(r.name) << SignedIntText(r.leftRoi) << SignedIntText(r.rightRoi)
              << SignedIntText(r.highVoltage) << FloatText(r.calFactor) << FloatText(r.background);
    }
    return lines;
}

NuclideFileContent ParseNuclideFile(const QString &text)
{
    NuclideFileContent content;
    const QStringList lines = SplitLines(text);
    if (lines.isEmpty() || lines.front().toUpper() != QLatin1String(kHeader))
        return content;
    content.headerMatches = true;

    qsizetype next = 1;
    auto onlyBlankLinesLeft = [&] {
        for (qsizetype i = next; i < lines.size(); ++i)
            if (!lines[i].trimmed().isEmpty())
                return false;
        return true;
    };
    auto integerField = [&](int16_t &value) {
        const QString field = inputField(lines[next]).trimmed();
        const std::optional<double> number = field.isEmpty() ? std::optional<double>(0.0) : WholeNumber(field);
        const std::optional<int16_t> rounded = number ? RoundToInt16(*number) : std::nullopt;
        if (!rounded) {
            content.error =
                QCoreApplication::translate("SettingsFiles", "Řádek %1 souboru PXR3.KAL neobsahuje celé číslo: \"%2\"")
                    .arg(next + 1)
                    .arg(lines[next].left(40));
            return false;
        }
        value = *rounded;
        ++next;
        return true;
    };
    auto decimalLine = [&](float &value) {
        QString line = lines[next++];
        // Past a float's range the largest one: an infinite factor would be saved as a text
        // that reads back as 0.
        constexpr double kLargest = std::numeric_limits<float>::max();
        value = float(std::clamp(ParseDecimal(line), -kLargest, kLargest));
    };

    while (!onlyBlankLinesLeft()) {
        if (content.count == kNuclideSlots) {
            content.error =
                QCoreApplication::translate("SettingsFiles",
                                            "Soubor PXR3.KAL obsahuje více než %1 radionuklidů, načteno prvních %1")
                    .arg(kNuclideSlots);
            return content;
        }
        if (lines.size() - next < 6) {
            content.error = QCoreApplication::translate("SettingsFiles",
                                                        "Soubor PXR3.KAL končí uprostřed záznamu radionuklidu č. %1")
                                .arg(content.count + 1);
            return content;
        }
        NuclideRecord record;
        record.name = StoredNuclideName(inputField(lines[next++]));
        if (!integerField(record.leftRoi) || !integerField(record.rightRoi) || !integerField(record.highVoltage))
            return content;
        decimalLine(record.calFactor);
        decimalLine(record.background);
        content.table(++content.count) = record;
    }
    return content;
}

bool LoadSaveConfig(int16_t mode)
{
    // Each file on its own: a failure with one is shown and the other is still handled.
    const SharedState &s = state();
    bool settings = true;
    bool nuclides = true;
    if (mode == 1) {
        settings = reported(loadSettings());
        nuclides = reported(loadNuclides());
    } else if (mode == 0) {
        settings = reported(WriteFileAtomically(ProgramPath(QString::fromLatin1(kSettingsFileName)),
                                                SettingsBytes(s.LinkStatus, s.MeasureTime, s.RepeatCount,
                                                              s.CurrentNuclide, mainWindowPlacement().placement())));
        nuclides = reported(WriteTextLines(ProgramPath(QString::fromLatin1(kNuclideFileName)),
                                           NuclideFileLines(s.NuclideTable, s.NuclideCount)));
    }
    return settings && nuclides;
}

} // namespace pxr3
