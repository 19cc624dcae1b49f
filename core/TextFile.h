#pragma once
// Text files as the users' existing files are made: Windows-1250 with CR LF line ends.
// Reading also takes a file that is valid UTF-8, so files edited on Linux load too.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace pxr3 {

struct FileResult {
    bool ok = true;
    QString error; // the system's description of what failed
};

// The text in Windows-1250. Fails, saying why, when the system has no such conversion or the
// text holds a character the code page lacks: a file never holds less than it was given.
FileResult EncodeWindows1250(const QString &text, QByteArray &bytes);
// Windows-1250 for the communication log, which holds the analyser's bytes as characters
// below U+0100: such a character that the code page lacks becomes the byte of its code,
// anything else it lacks '?'.
QByteArray EncodeKeepingBytes(const QString &text);
QString DecodeWindows1250(const QByteArray &bytes);
QString DecodeTextFile(const QByteArray &bytes); // UTF-8 when valid, else Windows-1250

// Lines of a text, split at CR LF, LF or CR; a last line without an end counts, an empty
// text has no lines.
QStringList SplitLines(const QString &text);

// Reads the whole file as text.
FileResult ReadTextFile(const QString &path, QString &text);

// Writes the file in full through a temporary file in the same folder renamed over the old
// one, so a failure never leaves a half-written file behind: done only when every byte is on
// the disk; otherwise the old file stays as it was and the system's reason is returned.
FileResult WriteFileAtomically(const QString &path, const QByteArray &bytes);

// The end of the name of a file an atomic save is writing.
constexpr const char *kUnfinishedSuffix = ".part";

// For a temporary file an atomic save leaves behind when the program is killed in the middle
// ("<name>.<six letters>.part", or "<name>.<six letters of both cases>" from an older version),
// the name the save was writing; empty for any other name.
QString UnfinishedSaveTarget(const QString &fileName);

// Each line followed by CR LF, in Windows-1250, written atomically; a text that cannot be
// encoded leaves the old file as it was.
FileResult WriteTextLines(const QString &path, const QStringList &lines);

// Appends text (already laid out with its line ends) in Windows-1250; creates the file.
// A text that cannot be encoded appends nothing. All or nothing: an append that fails part way
// (a full disk) is cut off again, so the next one never continues a broken line.
FileResult AppendText(const QString &path, const QString &text);
FileResult AppendBytes(const QString &path, const QByteArray &bytes);

// Test seam: while set, every file write of the program fails as on a full disk ("No space
// left on device") once that many bytes of the file being written have gone out. Tests only.
void SetWriteLimitForTests(std::optional<qint64> bytes);

} // namespace pxr3
