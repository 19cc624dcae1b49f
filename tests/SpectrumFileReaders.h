#pragma once
// Readers of the exported spectrum formats, written from the formats' descriptions, so the
// tests see what an analysis program would read back.

#include <QByteArray>
#include <QDateTime>
#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>
#include <vector>

namespace pxr3::test {

struct ReadBack {
    std::vector<qint64> counts;
    int realSeconds = -1;
    int liveSeconds = -1;
    QDateTime start;
    QStringList remarks;
};

inline int DurationSeconds(const QString &text)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^PT(\\d+)S$")).match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

inline ReadBack ReadN42(const QByteArray &bytes)
{
    ReadBack read;
    QXmlStreamReader xml(bytes);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        if (xml.namespaceUri() != QLatin1String("http://physics.nist.gov/N42/2011/N42"))
            continue;
        if (name == QLatin1String("StartDateTime"))
            read.start = QDateTime::fromString(xml.readElementText(), Qt::ISODate);
        else if (name == QLatin1String("RealTimeDuration"))
            read.realSeconds = DurationSeconds(xml.readElementText());
        else if (name == QLatin1String("LiveTimeDuration"))
            read.liveSeconds = DurationSeconds(xml.readElementText());
        else if (name == QLatin1String("Remark"))
            read.remarks << xml.readElementText();
        else if (name == QLatin1String("ChannelData")) {
            for (const QString &count : xml.readElementText().split(QLatin1Char(' '), Qt::SkipEmptyParts))
                read.counts.push_back(count.toLongLong());
        }
    }
    return read;
}

inline QStringList Lines(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\r\n")), Qt::KeepEmptyParts);
}

inline ReadBack ReadSpe(const QByteArray &bytes)
{
    ReadBack read;
    const QStringList lines = Lines(QString::fromLatin1(bytes));
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i] == QLatin1String("$DATE_MEA:")) {
            read.start = QDateTime::fromString(lines[i + 1], QStringLiteral("MM/dd/yyyy HH:mm:ss"));
        } else if (lines[i] == QLatin1String("$MEAS_TIM:")) {
            const QStringList times = lines[i + 1].split(QLatin1Char(' '));
            read.liveSeconds = times.value(0).toInt();
            read.realSeconds = times.value(1).toInt();
        } else if (lines[i] == QLatin1String("$DATA:")) {
            const QStringList range = lines[i + 1].split(QLatin1Char(' '));
            const int channels = range.value(1).toInt() - range.value(0).toInt() + 1;
            for (int k = 0; k < channels && i + 2 + k < lines.size(); ++k)
                read.counts.push_back(lines[i + 2 + k].trimmed().toLongLong());
        }
    }
    return read;
}

inline ReadBack ReadCsv(const QByteArray &bytes)
{
    ReadBack read;
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    const QRegularExpression data(QStringLiteral("^(\\d+)[;,](\\d+)$"));
    for (const QString &line : Lines(text)) {
        if (line.startsWith(QStringLiteral("# Začátek: ")))
            read.start = QDateTime::fromString(line.mid(11), Qt::ISODate);
        else if (line.startsWith(QStringLiteral("# Reálná doba [s]: ")))
            read.realSeconds = line.mid(19).toInt();
        else if (line.startsWith(QStringLiteral("# Živá doba [s]: ")))
            read.liveSeconds = line.mid(17).toInt();
        else if (line.startsWith(QLatin1String("# ")))
            read.remarks << line.mid(2);
        else if (const QRegularExpressionMatch m = data.match(line); m.hasMatch()) {
            const size_t channel = m.captured(1).toULongLong();
            if (channel >= 1) {
                read.counts.resize(std::max(read.counts.size(), channel));
                read.counts[channel - 1] = m.captured(2).toLongLong();
            }
        }
    }
    return read;
}

} // namespace pxr3::test
