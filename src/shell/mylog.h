#pragma once
// The program's logs: the start-up trace log_boot.txt and the ring of generation events (both in
// the program folder), and the report files in the work folder's log/ folder. Logging never
// breaks the program: a file that cannot be written is skipped.
#include <QString>
#include <QStringList>

// One line of log_boot.txt; reset starts the file anew with an empty line and the text unnumbered.
void BootLog(const QString& text, bool reset = false);
// Adds an entry to the ring of 200; reset empties it first.
void MemLog(const QString& text, bool reset = false);
// Writes the ring to the program folder, newest entry first.
void MemLog保存(const QString& fileName = QStringLiteral("log.txt"));
// The ring's entries newest first (what MemLog保存 writes).
QStringList MemLogEntries();
// Opens the program folder's log.txt for the user in the desktop's text editor.
void LogView();
// One line into the file of that name in the work folder's log/ folder.
void LogWrite(const QString& fileName, const QString& text, bool overwrite, bool noDate);
void ResultLog書込(const QString& text, bool overwrite);

// Line counter of log_boot.txt, for tests.
int BootLogCount();
// The boot-log count and the memory log as a fresh start leaves them.
void resetLogState();
