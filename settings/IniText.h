#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <optional>

// The INI text of a store file, read a second time where QSettings loses what a person wrote by hand: it splits a
// value at unquoted commas into a list, which cannot be joined back as it was written, and it reads text as UTF-8
// only, dropping or replacing every byte of another encoding.
namespace IniText {
// The undecoded value of every key in the file's bytes, named "section/key" as QSettings names it; of a key given
// twice, the later value. Lines, comments and quotes end a value, and section and key names are decoded, as
// QSettings does.
QHash<QString, QByteArray> RawValues(QByteArrayView data);

// A raw value read as QSettings reads a single text, with two differences: a comma is a comma, whether quoted or
// not, and a value that is not valid UTF-8 is read as Windows-1252. Nothing for a value that QSettings reads as
// something other than text ("@Variant(...)" and the like).
std::optional<QString> Text(QByteArrayView raw);

// Windows-1252, the single-byte code page text files were written in on Windows; its five unassigned bytes give
// the control characters of the same number, as Windows itself reads them.
QString FromWindows1252(QByteArrayView bytes);
} // namespace IniText
