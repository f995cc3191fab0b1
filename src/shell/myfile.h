#pragma once
// Path pieces and file helpers. Paths use "/"; texts that come from the workbook may still carry
// "\", which the path pieces accept as a separator too.
#include <QByteArray>
#include <QString>
#include <QStringList>

QString DelQuote(const QString& s);
QString GetBaseName(const QString& path);
QString GetExtName(const QString& path);
QString GetFileName(const QString& path);
QString GetFolderName(const QString& path);
QString GetParentPath(const QString& path);
// Non-overlapping occurrences of part in text.
int StrCount(const QString& text, const QString& part, int ignoreCase = 0);
// "D5" for row 5, column 4.
QString CellAddr(long row, long column);
// Makes path the current folder; false when it cannot.
bool ChDirEx(const QString& path);
// The absolute form of path against base (the program folder when base is empty). Resolved from
// the texts alone: the current folder is never changed. "" for a quoted path without its end quote.
QString GetAbsPath(const QString& path, QString base = {});

// An empty file with a fresh unique name in the temporary folder; its full path ("" on failure).
QString MakeTempFile();
// Copies the folder with overwriting; true (nothing copied) when the source does not exist.
bool FolderCopy(const QString& source, const QString& target);
// Deletes the file; false when done, true after showing the error.
bool FileKill(const QString& path);
// Writes the bytes to the file (replacing it atomically); false when done, true after showing the error.
bool WrBinFile(const QString& path, const QByteArray& data);
// Writes the text in the Japanese ANSI code page (CP932).
bool WrBinFile(const QString& path, const QString& text);
// Deletes every named file (wildcards allowed: a pattern that matches nothing is an error).
// "" or the first error as "number description"; the names after it are not tried.
QString FilesDelete(const QStringList& names);
// Moves or renames a file: "" or "number description".
QString FileMove(const QString& source, const QString& target);
// Bytes of all files in the folder and its subfolders; throws VbError when it does not exist.
qint64 FolderSize(const QString& folder);
// Creates the folder and every missing folder above it: "" or "number description".
QString MakeFolder(const QString& path);
