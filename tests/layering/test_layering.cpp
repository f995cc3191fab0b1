// The layers include downwards only. Linking catches an upward call, but not a header that is
// used inline; this reads every include of the source tree and of the tests instead. Each include
// is resolved as the compiler would find it (beside the file for quotes, then the include roots), so
// neither "../engine/model.h" nor <optimise/runs.h> walks around the rule.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <gtest/gtest.h>

namespace {

// The project's files, relative to the repository root ("src/engine/model.h", "tests/support/env.h").
QSet<QString> projectFiles(const QDir& root)
{
    QSet<QString> files;
    for (const QString& top : {QStringLiteral("src"), QStringLiteral("tests")}) {
        for (QDirIterator it(root.filePath(top), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            files.insert(root.relativeFilePath(it.next()));
    }
    return files;
}

// The project file an include names, or empty for a system or library header.
QString resolve(const QSet<QString>& files, const QString& from, const QString& target, bool quoted)
{
    QStringList dirs;
    if (quoted)
        dirs << from.section(u'/', 0, -2);
    // The build's include roots: src for every target, tests and tests/support for the tests.
    dirs << QStringLiteral("src") << QStringLiteral("tests") << QStringLiteral("tests/support");
    for (const QString& dir : dirs) {
        const QString path = QDir::cleanPath(dir + u'/' + target);
        if (files.contains(path))
            return path;
    }
    return {};
}

// Where a file stands: its layer's rank, or one of the places outside the ranks.
constexpr int kSupport = 100;  // test support: may include any layer
constexpr int kMain = 101;     // the executable's main: may include any layer
constexpr int kOutside = -1;   // the launcher and the layering test itself

int rank(const QString& path)
{
    static const QStringList order{QStringLiteral("platform"), QStringLiteral("workbook"), QStringLiteral("shell"),
                                   QStringLiteral("engine"), QStringLiteral("optimise"), QStringLiteral("storage"),
                                   QStringLiteral("app")};
    if (path == QLatin1String("src/main.cpp"))
        return kMain;
    QString top = path.section(u'/', 1, 1);
    if (path.startsWith(QLatin1String("tests/"))) {
        if (top == QLatin1String("support") || top == QLatin1String("validator"))
            return kSupport;
        if (top == QLatin1String("program"))
            top = QStringLiteral("app");
    }
    const auto at = order.indexOf(top);
    return at < 0 ? kOutside : int(at);
}

bool isWindowCode(const QString& path)
{
    return path.contains(QLatin1String("/forms/")) || path.contains(QLatin1String("/widgets/"))
        || path.contains(QLatin1String("/gui/")) || path.startsWith(QLatin1String("src/app/"))
        || path.startsWith(QLatin1String("tests/app/")) || path.startsWith(QLatin1String("tests/program/"));
}

// Why `from` may not include `to` (both project files), or empty when it may.
QString breach(const QString& from, const QString& to)
{
    const int rf = rank(from), rt = rank(to);
    if (to.startsWith(QLatin1String("tests/")) && !from.startsWith(QLatin1String("tests/")))
        return QStringLiteral("source includes test code");
    if (rf == kMain || rf == kSupport || rt == kSupport || rt == kOutside)
        return {};
    if (rf == kOutside)
        return QStringLiteral("outside the layers");
    if (rt > rf)
        return QStringLiteral("runs up the layers");
    if (isWindowCode(to) && !isWindowCode(from))
        return QStringLiteral("logic includes a window");
    return {};
}

QStringList breaches(const QSet<QString>& files, const QString& path, const QString& text)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*(["<])([^">]+)[">])re"),
                                            QRegularExpression::MultilineOption);
    QStringList found;
    for (auto it = include.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        const QString target = resolve(files, path, m.captured(2), m.captured(1) == u'"');
        if (target.isEmpty())
            continue;
        if (const QString why = breach(path, target); !why.isEmpty())
            found << QStringLiteral("%1 -> %2 (%3)").arg(path, target, why);
    }
    return found;
}

const QDir& repository()
{
    static const QDir root(QDir::cleanPath(QStringLiteral(QV_TEST_DATA_DIR "/../..")));
    return root;
}

TEST(Layering, TheRuleFindsEachKindOfBreach)
{
    const QSet<QString> files = projectFiles(repository());
    const auto count = [&](const char* path, const char* text) {
        return breaches(files, QString::fromUtf8(path), QString::fromUtf8(text)).size();
    };
    EXPECT_EQ(count("src/engine/rules.cpp", "#include \"shell/globals.h\"\n"), 0);
    EXPECT_EQ(count("src/app/program.cpp", "#include \"storage/restore.h\""), 0);
    EXPECT_EQ(count("src/engine/forms/a.cpp", "#include \"shell/forms/message_box_form.h\""), 0);
    EXPECT_EQ(count("src/engine/rules.cpp", "#include \"model.h\"\n#include <QString>\n#include <vector>"), 0);
    EXPECT_EQ(count("src/shell/a.cpp", "#include \"engine/model.h\""), 1);
    EXPECT_EQ(count("src/shell/forms/a.cpp", "  # include \"optimise/runs.h\""), 1);
    EXPECT_EQ(count("src/platform/xl/a.cpp", "#include \"app/main_window.h\""), 1);
    EXPECT_EQ(count("src/engine/a.cpp", "#include \"engine/forms/progress_form.h\""), 1);
    EXPECT_EQ(count("src/platform/xl/a.cpp", "#include \"platform/xl/widgets/sheetwindow.h\""), 1);
    // Relative and angle-bracket forms of the project's own headers.
    EXPECT_EQ(count("src/shell/a.cpp", "#include \"../engine/model.h\""), 1);
    EXPECT_EQ(count("src/engine/a.cpp", "#include <optimise/runs.h>"), 1);
    EXPECT_EQ(count("src/platform/db/a.cpp", "#include \"../../workbook/recalc.h\""), 1);
    // Tests: their layer, the layers below and test support; the source never includes tests.
    EXPECT_EQ(count("tests/shell/test_a.cpp", "#include \"shell/globals.h\"\n#include \"../support/manual_clock.h\""), 0);
    EXPECT_EQ(count("tests/optimise/test_a.cpp", "#include \"engine/model.h\"\n#include \"validator/validator.h\""), 0);
    EXPECT_EQ(count("tests/shell/test_a.cpp", "#include <optimise/runs.h>"), 1);
    EXPECT_EQ(count("tests/engine/test_a.cpp", "#include \"../../src/storage/restore.h\""), 1);
    EXPECT_EQ(count("tests/engine/test_a.cpp", "#include \"engine/forms/progress_form.h\""), 1);
    EXPECT_EQ(count("src/engine/a.cpp", "#include \"../../tests/support/env.h\""), 1);
}

TEST(Layering, NoFileIncludesUpwards)
{
    const QDir& root = repository();
    const QSet<QString> files = projectFiles(root);
    QStringList found;
    for (const QString& path : files) {
        QFile f(root.filePath(path));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        found << breaches(files, path, QString::fromUtf8(f.readAll()));
    }
    EXPECT_GT(files.size(), 300);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

}  // namespace
