#include "core/TextFile.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <string_view>
#include <unistd.h>
#include <unordered_map>

namespace pxr3 {

namespace {

// glibc's iconv knows the code page; one conversion per call keeps it free of shared state.
// Decoding puts U+FFFD for a broken sequence; encoding stops at a character the target lacks.
std::optional<QByteArray> convert(const char *to, const char *from, const QByteArray &input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    const bool decoding = std::string_view(to) == "UTF-8";
    QByteArray output;
    output.reserve(input.size() * 2 + 4);
    QByteArray in = input;
    char *inPtr = in.data();
    size_t inLeft = size_t(in.size());
    char buffer[4096];
    bool complete = true;
    while (inLeft > 0) {
        char *outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        output.append(buffer, qsizetype(sizeof buffer - outLeft));
        if (rc == size_t(-1) && errno != E2BIG) {
            if (!decoding) {
                complete = false;
                break;
            }
            output.append("\xEF\xBF\xBD");
            ++inPtr;
            --inLeft;
        }
    }
    iconv_close(cd);
    if (!complete)
        return std::nullopt;
    return output;
}

FileResult failure(const QFileDevice &file) { return {false, file.errorString()}; }

std::optional<qint64> &writeLimit()
{
    static std::optional<qint64> limit;
    return limit;
}

// Every byte handed to the system. The file is unbuffered, so a full disk shows at the write
// itself and not at a later flush or close that may not report it; a short write is tried on
// so that the system says why it stopped.
FileResult writeAll(QFileDevice &file, const QByteArray &bytes)
{
    const qint64 allowed = writeLimit() ? std::clamp<qint64>(*writeLimit(), 0, bytes.size()) : bytes.size();
    for (qint64 done = 0; done < allowed;) {
        const qint64 written = file.write(bytes.constData() + done, allowed - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            return {false, reason.isEmpty() ? QStringLiteral("Soubor nebyl zapsán celý") : reason};
        }
        done += written;
    }
    if (allowed < bytes.size())
        return {false, qt_error_string(ENOSPC)};
    return {};
}

} // namespace

FileResult EncodeWindows1250(const QString &text, QByteArray &bytes)
{
    if (std::optional<QByteArray> encoded = convert("CP1250", "UTF-8", text.toUtf8())) {
        bytes = *encoded;
        return {};
    }
    if (!convert("CP1250", "UTF-8", QByteArray()))
        return {false, QStringLiteral("Převod do kódování Windows-1250 není v tomto systému k dispozici")};
    for (const QChar c : text) {
        if (!convert("CP1250", "UTF-8", QString(c).toUtf8()))
            return {false, QStringLiteral("Znak „%1“ nelze zapsat v kódování Windows-1250").arg(c)};
    }
    return {false, QStringLiteral("Text nelze převést do kódování Windows-1250")};
}

QByteArray EncodeKeepingBytes(const QString &text)
{
    static const std::unordered_map<char16_t, char> upper = [] {
        std::unordered_map<char16_t, char> table;
        for (int b = 0x80; b <= 0xFF; ++b) {
            const QString decoded = DecodeWindows1250(QByteArray(1, char(b)));
            if (decoded.size() == 1 && decoded != QStringLiteral("?"))
                table.emplace(decoded[0].unicode(), char(b));
        }
        return table;
    }();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            bytes.append(char(u));
        } else if (const auto it = upper.find(u); it != upper.end()) {
            bytes.append(it->second);
        } else {
            bytes.append(u < 0x100 ? char(u) : '?');
        }
    }
    return bytes;
}

QString DecodeWindows1250(const QByteArray &bytes)
{
    return QString::fromUtf8(convert("UTF-8", "CP1250", bytes).value_or(QByteArray()));
}

QString DecodeTextFile(const QByteArray &bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(body.mid(3));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(body);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1250(body);
}

QStringList SplitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

FileResult ReadTextFile(const QString &path, QString &text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(file);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(file);
    text = DecodeTextFile(bytes);
    return {};
}

FileResult WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    // Written beside the file under a name of its own ("<name>.<six letters>.part") and renamed
    // over it: on any failure the old file stays, and what a kill leaves is told apart from any
    // file of the operator's at the next start.
    QTemporaryFile file(path + QLatin1String(".XXXXXX") + QLatin1String(kUnfinishedSuffix));
    if (!file.open())
        return failure(file);
    const QFileDevice::Permissions permissions = QFile::exists(path)
        ? QFile::permissions(path)
        : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    // Unbuffered, so that a full disk shows at the write itself.
    QFile out;
    if (!out.open(file.handle(), QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return failure(out);
    FileResult written = writeAll(out, bytes);
    if (written.ok && ::fdatasync(file.handle()) != 0)
        written = {false, qt_error_string(errno)};
    if (written.ok && !file.setPermissions(permissions))
        written = failure(file);
    if (!written.ok)
        return written; // the temporary file removes itself
    const QByteArray from = QFile::encodeName(file.fileName());
    file.close();
    if (::rename(from.constData(), QFile::encodeName(path).constData()) != 0)
        return {false, qt_error_string(errno)};
    file.setAutoRemove(false);
    return {};
}

QString UnfinishedSaveTarget(const QString &fileName)
{
    constexpr qsizetype kLetters = 6;
    const auto letter = [](QChar c) {
        return (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) || (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
    };
    const auto target = [&](const QString &name, bool ownName) -> QString {
        if (name.size() <= kLetters + 1 || name[name.size() - kLetters - 1] != QLatin1Char('.'))
            return {};
        const QString letters = name.right(kLetters);
        if (!std::all_of(letters.cbegin(), letters.cend(), letter))
            return {};
        // Without the suffix of our own the name is one an older version left; its letters were
        // drawn from both cases, and a suffix in one case only is far more likely a word someone
        // typed ("mereni.dat.zaloha"), which is left alone.
        const bool bothCases = letters != letters.toLower() && letters != letters.toUpper();
        return ownName || bothCases ? name.chopped(kLetters + 1) : QString();
    };
    if (fileName.endsWith(QLatin1String(kUnfinishedSuffix)))
        return target(fileName.chopped(int(std::strlen(kUnfinishedSuffix))), true);
    return target(fileName, false);
}

FileResult WriteTextLines(const QString &path, const QStringList &lines)
{
    QString text;
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QByteArray bytes;
    const FileResult encoded = EncodeWindows1250(text, bytes);
    return encoded.ok ? WriteFileAtomically(path, bytes) : encoded;
}

FileResult AppendText(const QString &path, const QString &text)
{
    QByteArray bytes;
    const FileResult encoded = EncodeWindows1250(text, bytes);
    return encoded.ok ? AppendBytes(path, bytes) : encoded;
}

FileResult AppendBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return failure(file);
    const qint64 before = file.size();
    const FileResult written = writeAll(file, bytes);
    if (!written.ok) {
        file.resize(before); // whole lines only: what got in is cut off again
        return written;
    }
    file.close();
    if (file.error() != QFileDevice::NoError)
        return failure(file);
    return {};
}

void SetWriteLimitForTests(std::optional<qint64> bytes) { writeLimit() = bytes; }

} // namespace pxr3
