#include "platform/text/cp932.h"

#include <QStringDecoder>
#include <cerrno>
#include <iconv.h>

namespace text {
namespace {

// One iconv conversion of a whole buffer; nullopt on an invalid sequence.
std::optional<QByteArray> convert(const char* to, const char* from, const QByteArray& in)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char* src = const_cast<char*>(in.constData());
    size_t srcLeft = size_t(in.size());
    char* dst = out.data();
    size_t dstLeft = size_t(out.size());
    const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (rc == size_t(-1))
        return std::nullopt;
    out.truncate(out.size() - int(dstLeft));
    return out;
}

}  // namespace

QByteArray toCp932(const QString& s)
{
    // Character by character, so that one unmappable character does not spoil the rest.
    QByteArray out;
    out.reserve(s.size() * 2);
    for (int i = 0; i < s.size(); ++i) {
        const int len = (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
        const QString ch = s.mid(i, len);
        i += len - 1;
        const char16_t u = ch.at(0).unicode();
        if (len == 1 && u < 0x80) {
            out.append(char(u));
            continue;
        }
        const auto bytes = convert("CP932", "UTF-8", ch.toUtf8());
        out.append(bytes ? *bytes : QByteArray("?"));
    }
    return out;
}

std::optional<QString> fromCp932(const QByteArray& bytes)
{
    const auto utf8 = convert("UTF-8", "CP932", bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QString> fromUtf8Strict(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    if (s.startsWith(QChar(0xFEFF)))
        s.remove(0, 1);
    return s;
}

}  // namespace text

int LenA(const QString& s)
{
    int n = 0;
    for (int i = 0; i < s.size(); ++i) {
        const char16_t u = s.at(i).unicode();
        if (u < 0x80) {
            ++n;
        } else if (u >= 0xFF61 && u <= 0xFF9F) {
            ++n;  // half-width katakana: one byte
        } else {
            const int len = (s.at(i).isHighSurrogate() && i + 1 < s.size()) ? 2 : 1;
            n += int(text::toCp932(s.mid(i, len)).size());
            i += len - 1;
        }
    }
    return n;
}

QString RSetA(const QString& s, int n)
{
    if (n < 0)
        return {};
    return QString(qMax(n - LenA(s), 0), QLatin1Char(' ')) + s;
}

QString LSetA(const QString& s, int n)
{
    if (n < 0)
        return {};
    return s + QString(qMax(n - LenA(s), 0), QLatin1Char(' '));
}
