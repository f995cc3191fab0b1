#pragma once
// A run-time error as the program's error traps see it: a number and a description. Layers that
// stand in for the platform throw it (or a type derived from it) where the platform raised one.
#include <QString>
#include <exception>

struct VbError : std::exception {
    int number = 0;
    QString description;
    QByteArray utf8;

    VbError(int n, QString d) : number(n), description(std::move(d)), utf8(text().toUtf8()) {}
    // "number description", the form every error message of the program shows.
    QString text() const { return QString::number(number) + QLatin1Char(' ') + description; }
    const char* what() const noexcept override { return utf8.constData(); }
};

// The error a failed file operation raises, from the system's error code.
VbError fileError(int errnoValue);
