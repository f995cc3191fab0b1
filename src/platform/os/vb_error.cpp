#include "platform/os/vb_error.h"

#include <cerrno>
#include <cstring>

VbError fileError(int e)
{
    switch (e) {
    case ENOENT: return {53, QStringLiteral("ファイルが見つかりません。")};
    case EACCES:
    case EPERM:
    case EROFS: return {70, QStringLiteral("書き込みできません。")};
    case EEXIST: return {58, QStringLiteral("既に同名のファイルが存在しています。")};
    case ENOSPC: return {61, QStringLiteral("ディスクの空き容量が不足しています。")};
    default: return {75, QStringLiteral("パス名が無効です。") + QStringLiteral(" (") + QString::fromLocal8Bit(std::strerror(e)) + QLatin1Char(')')};
    }
}
