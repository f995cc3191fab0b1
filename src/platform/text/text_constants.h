#pragma once
// Text constants the whole program shares.
#include <QString>

// The line break of messages, logs and reports.
inline const QString kCrLf = QStringLiteral("\r\n");
