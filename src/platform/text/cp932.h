#pragma once
// Shift-JIS (CP932) conversions and byte widths: reports align columns by the width a text has in
// the Japanese ANSI code page, and HTML pages and old condition files use that encoding.
#include <QByteArray>
#include <QString>
#include <optional>

namespace text {

// Bytes of s in CP932; a character CP932 cannot hold is replaced by '?' (one byte).
QByteArray toCp932(const QString& s);
// Decodes CP932 bytes; nullopt when they are not valid CP932.
std::optional<QString> fromCp932(const QByteArray& bytes);
// Decodes UTF-8 (an optional BOM is dropped); nullopt when the bytes are not valid UTF-8.
std::optional<QString> fromUtf8Strict(const QByteArray& bytes);

}  // namespace text

// Length of s in CP932 bytes: full-width characters count 2, half-width 1.
int LenA(const QString& s);
// s right-justified in n bytes with half-width blanks; never cut; "" when n < 0.
QString RSetA(const QString& s, int n);
// s left-justified in n bytes with half-width blanks; never cut; "" when n < 0.
QString LSetA(const QString& s, int n);
