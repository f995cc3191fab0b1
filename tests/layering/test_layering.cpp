// The layers include downwards only. Linking catches an upward call, but not a header that is
// used inline; this reads every include of the source tree instead.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// Rank of a top folder of src/; -1 for a folder outside the layers (the launcher).
int rank(const QString& top)
{
    static const QStringList order{QStringLiteral("platform"), QStringLiteral("workbook"), QStringLiteral("shell"),
                                   QStringLiteral("engine"), QStringLiteral("optimise"), QStringLiteral("storage"),
                                   QStringLiteral("app")};
    return int(order.indexOf(top));
}

bool isWindowCode(const QString& path)
{
    return path.contains(QLatin1String("/forms/")) || path.contains(QLatin1String("/widgets/"))
        || path.startsWith(QLatin1String("app/"));
}

// Why the file at `path` (relative to src/) may not include `target`, or empty when it may.
QString breach(const QString& path, const QString& target)
{
    const QString from = path.section(u'/', 0, 0), to = target.section(u'/', 0, 0);
    if (rank(to) < 0)
        return {};
    if (rank(from) < 0 && from != QLatin1String("main.cpp"))
        return QStringLiteral("outside the layers");
    if (from != QLatin1String("main.cpp") && rank(to) > rank(from))
        return QStringLiteral("runs up the layers");
    if (isWindowCode(target) && !isWindowCode(path) && from != QLatin1String("main.cpp"))
        return QStringLiteral("logic includes a window");
    return {};
}

QStringList breaches(const QString& path, const QString& text)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    QStringList found;
    for (auto it = include.globalMatch(text); it.hasNext();) {
        const QString target = it.next().captured(1);
        if (const QString why = breach(path, target); !why.isEmpty())
            found << QStringLiteral("%1 -> %2 (%3)").arg(path, target, why);
    }
    return found;
}

TEST(Layering, TheRuleFindsEachKindOfBreach)
{
    EXPECT_TRUE(breaches(QStringLiteral("engine/rules.cpp"), QStringLiteral("#include \"shell/globals.h\"\n")).isEmpty());
    EXPECT_TRUE(breaches(QStringLiteral("app/program.cpp"), QStringLiteral("#include \"storage/restore.h\"")).isEmpty());
    EXPECT_TRUE(breaches(QStringLiteral("engine/forms/a.cpp"), QStringLiteral("#include \"shell/forms/b.h\"")).isEmpty());
    EXPECT_EQ(breaches(QStringLiteral("shell/a.cpp"), QStringLiteral("#include \"engine/model.h\"")).size(), 1);
    EXPECT_EQ(breaches(QStringLiteral("shell/forms/a.cpp"), QStringLiteral("  # include \"optimise/x.h\"")).size(), 1);
    EXPECT_EQ(breaches(QStringLiteral("platform/xl/a.cpp"), QStringLiteral("#include \"app/mainwindow.h\"")).size(), 1);
    EXPECT_EQ(breaches(QStringLiteral("engine/a.cpp"), QStringLiteral("#include \"engine/forms/b.h\"")).size(), 1);
    EXPECT_EQ(breaches(QStringLiteral("platform/xl/a.cpp"), QStringLiteral("#include \"platform/xl/widgets/w.h\"")).size(), 1);
}

TEST(Layering, NoSourceFileIncludesUpwards)
{
    const QDir src(QStringLiteral(QV_TEST_DATA_DIR "/../../src"));
    QStringList found;
    int files = 0;
    for (QDirIterator it(src.path(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                         QDirIterator::Subdirectories);
         it.hasNext();) {
        QFile f(it.next());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
        found << breaches(src.relativeFilePath(f.fileName()), QString::fromUtf8(f.readAll()));
        ++files;
    }
    EXPECT_GT(files, 100);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

}  // namespace
