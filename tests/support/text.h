#pragma once
// Texts in tests: UTF-8 literals as QStrings, and QStrings printed as text in failure messages.
#include <QString>
#include <ostream>

inline QString u(const char* s)
{
    return QString::fromUtf8(s);
}

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
