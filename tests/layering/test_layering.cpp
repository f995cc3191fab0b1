// The layers include downwards only. Linking catches an upward call, but not a header that is
// used inline; this reads every include of the source tree and of the tests instead, in every
// file whatever its name. Each include is resolved as the compiler would find it (beside the file
// for quotes, then the include roots), so neither "../engine/model.h" nor <optimise/runs.h> walks
// around the rule. A test support header stands as high as the highest layer it reaches through
// its own includes, so that a test cannot reach a higher layer through it.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The layers from the bottom. The launcher is a program of its own: it includes no other layer
// and no other layer includes it.
const QStringList& order()
{
    static const QStringList layers{QStringLiteral("platform"), QStringLiteral("workbook"), QStringLiteral("shell"),
                                    QStringLiteral("engine"),   QStringLiteral("optimise"), QStringLiteral("storage"),
                                    QStringLiteral("app"),      QStringLiteral("launcher")};
    return layers;
}
const int kApp = int(order().indexOf(QStringLiteral("app")));
const int kLauncher = int(order().indexOf(QStringLiteral("launcher")));

// Where a file stands besides the layers' ranks.
constexpr int kNoLayer = -1;  // a support header that reaches no layer
constexpr int kOutside = -2;  // the layering test, the test data, the build files
constexpr int kSupport = -3;  // test support and the validator: ranked by what they reach

int rank(const QString& path)
{
    if (path == QLatin1String("src/main.cpp"))
        return kApp;  // the executable's main starts the program through the app
    QString top = path.section(u'/', 1, 1);
    if (path.startsWith(QLatin1String("tests/"))) {
        const bool test = path.section(u'/', -1).startsWith(QLatin1String("test_"));
        if (top == QLatin1String("support") || (top == QLatin1String("validator") && !test))
            return kSupport;
        if (top == QLatin1String("validator"))
            top = QStringLiteral("engine");
        else if (top == QLatin1String("program"))
            top = QStringLiteral("app");
    }
    const auto at = order().indexOf(top);
    return at < 0 ? kOutside : int(at);
}

bool isWindowCode(const QString& path)
{
    return path.contains(QLatin1String("/forms/")) || path.contains(QLatin1String("/widgets/"))
        || path.contains(QLatin1String("/gui/")) || path.startsWith(QLatin1String("src/app/"))
        || path == QLatin1String("src/main.cpp") || path.startsWith(QLatin1String("tests/app/"))
        || path.startsWith(QLatin1String("tests/program/"));
}

struct Standing {
    int rank = kNoLayer;
    bool window = false;
};

// The project's files (relative to the repository root, "src/engine/model.h") with their texts.
class Tree {
public:
    static Tree read(const QDir& root)
    {
        Tree tree;
        for (const auto& top : {QStringLiteral("src"), QStringLiteral("tests")}) {
            for (QDirIterator it(root.filePath(top), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
                 it.hasNext();) {
                QFile f(it.next());
                EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << f.fileName().toStdString();
                tree.add(root.relativeFilePath(f.fileName()), QString::fromUtf8(f.readAll()));
            }
        }
        return tree;
    }

    void add(const QString& path, const QString& text)
    {
        texts_.insert(path, text);
        reach_.clear();
    }
    bool contains(const QString& path) const { return texts_.contains(path); }
    qsizetype size() const { return texts_.size(); }

    // What is wrong with the includes of `text` as the text of `path`, one line each.
    QStringList breaches(const QString& path, const QString& text) const
    {
        QStringList found;
        for (const QString& target : includes(path, text))
            if (const QString why = breach(path, target); !why.isEmpty())
                found << QStringLiteral("%1 -> %2 (%3)").arg(path, target, why);
        return found;
    }
    QStringList allBreaches() const
    {
        QStringList found;
        for (auto it = texts_.cbegin(); it != texts_.cend(); ++it)
            found << breaches(it.key(), it.value());
        found.sort();
        return found;
    }

private:
    // The project files the includes of a text name; system and library headers are left out.
    QStringList includes(const QString& from, const QString& text) const
    {
        static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*(["<])([^">]+)[">])re"),
                                                QRegularExpression::MultilineOption);
        QStringList targets;
        for (auto it = include.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            if (const QString target = resolve(from, m.captured(2), m.captured(1) == u'"'); !target.isEmpty())
                targets << target;
        }
        return targets;
    }

    QString resolve(const QString& from, const QString& target, bool quoted) const
    {
        QStringList dirs;
        if (quoted)
            dirs << from.section(u'/', 0, -2);
        // The build's include roots: src for every target, tests and tests/support for the tests.
        dirs << QStringLiteral("src") << QStringLiteral("tests") << QStringLiteral("tests/support");
        for (const QString& dir : dirs) {
            const QString path = QDir::cleanPath(dir + u'/' + target);
            if (texts_.contains(path))
                return path;
        }
        return {};
    }

    // A file's layer and kind; a support file's are the highest it reaches through its includes.
    Standing standing(const QString& path) const
    {
        if (rank(path) != kSupport)
            return {rank(path), isWindowCode(path)};
        if (const auto known = reach_.constFind(path); known != reach_.cend())
            return *known;
        reach_.insert(path, {});  // a cycle of includes adds nothing
        Standing s;
        for (const QString& target : includes(path, texts_.value(path))) {
            const Standing t = standing(target);
            s.rank = std::max(s.rank, t.rank);
            s.window = s.window || t.window;
        }
        reach_.insert(path, s);
        return s;
    }

    // Why `from` may not include `to` (both project files), or empty when it may.
    QString breach(const QString& from, const QString& to) const
    {
        if (to.startsWith(QLatin1String("tests/")) && !from.startsWith(QLatin1String("tests/")))
            return QStringLiteral("source includes test code");
        const int rf = rank(from);
        const Standing t = standing(to);
        if (rf == kOutside || t.rank == kOutside)
            return QStringLiteral("outside the layers");
        if (rf == kSupport || t.rank == kNoLayer)
            return {};  // a support file's reach carries the rule to the tests that include it
        const QString through = rank(to) == kSupport ? QStringLiteral(" through test support") : QString();
        if ((rf == kLauncher) != (t.rank == kLauncher))
            return QStringLiteral("the launcher stands alone") + through;
        if (t.rank > rf)
            return QStringLiteral("runs up the layers") + through;
        if (t.window && !isWindowCode(from))
            return QStringLiteral("logic includes a window") + through;
        return {};
    }

    QHash<QString, QString> texts_;
    mutable QHash<QString, Standing> reach_;
};

const QDir& repository()
{
    static const QDir root(QDir::cleanPath(QStringLiteral(QV_TEST_DATA_DIR "/../..")));
    return root;
}

TEST(Layering, TheRuleFindsEachKindOfBreach)
{
    const Tree tree = Tree::read(repository());
    const auto count = [&](const char* path, const char* text) {
        return tree.breaches(QString::fromUtf8(path), QString::fromUtf8(text)).size();
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
    // The launcher: nothing includes it, not even the program's main, and it includes no layer.
    EXPECT_EQ(count("src/app/a.cpp", "#include \"launcher/launcher.cpp\""), 1);
    EXPECT_EQ(count("src/main.cpp", "#include \"app/program.h\"\n#include \"launcher/launcher.cpp\""), 1);
    EXPECT_EQ(count("src/launcher/a.cpp", "#include \"platform/os/clock.h\""), 1);
    EXPECT_EQ(count("tests/launcher/test_a.cpp", "#include \"../../src/launcher/launcher.cpp\"\n#include \"text.h\""), 0);
    EXPECT_EQ(count("tests/launcher/test_a.cpp", "#include \"manual_clock.h\""), 1);
    // Tests: their layer, the layers below and test support; the source never includes tests.
    EXPECT_EQ(count("tests/shell/test_a.cpp", "#include \"shell/globals.h\"\n#include \"../support/manual_clock.h\""), 0);
    EXPECT_EQ(count("tests/optimise/test_a.cpp", "#include \"engine/model.h\"\n#include \"validator/validator.h\""), 0);
    EXPECT_EQ(count("tests/shell/test_a.cpp", "#include <optimise/runs.h>"), 1);
    EXPECT_EQ(count("tests/engine/test_a.cpp", "#include \"../../src/storage/restore.h\""), 1);
    EXPECT_EQ(count("tests/engine/test_a.cpp", "#include \"engine/forms/progress_form.h\""), 1);
    EXPECT_EQ(count("src/engine/a.cpp", "#include \"../../tests/support/env.h\""), 1);
    EXPECT_EQ(count("tests/engine/test_a.cpp", "#include \"../data/months/chains-20-members.csv\""), 1);
}

// A support header stands as high as it reaches, through other support headers too, and brings a
// window along; a file is read whatever its name.
TEST(Layering, TheRuleHoldsThroughSupportAndEveryKindOfFile)
{
    Tree tree = Tree::read(repository());
    tree.add(QStringLiteral("tests/support/fake_text.h"), QStringLiteral("#include <QString>\n#include \"text.h\"\n"));
    tree.add(QStringLiteral("tests/support/fake_model.h"), QStringLiteral("#include \"fake_text.h\"\n#include \"engine/model.h\"\n"));
    tree.add(QStringLiteral("tests/support/fake_both.hpp"), QStringLiteral("#include \"fake_model.h\"\n#include <support/fake_both.hpp>\n"));
    tree.add(QStringLiteral("tests/support/fake_window.inc"), QStringLiteral("#include \"shell/forms/message_box_form.h\"\n"));
    tree.add(QStringLiteral("src/engine/fake_table.inc"), QStringLiteral("#include \"optimise/runs.h\"\n"));
    const auto count = [&](const char* path, const char* text) {
        return tree.breaches(QString::fromUtf8(path), QString::fromUtf8(text)).size();
    };
    EXPECT_EQ(count("tests/platform/test_a.cpp", "#include \"fake_text.h\""), 0);
    EXPECT_EQ(count("tests/engine/test_a.cpp", "#include \"fake_model.h\""), 0);
    EXPECT_EQ(count("tests/shell/test_a.cpp", "#include \"fake_model.h\""), 1);
    EXPECT_EQ(count("tests/platform/test_a.cpp", "#include \"../support/fake_both.hpp\""), 1);
    EXPECT_EQ(count("tests/validator/test_a.cpp", "#include \"fake_both.hpp\""), 0);
    EXPECT_EQ(count("tests/shell/forms/test_a.cpp", "#include \"fake_window.inc\""), 0);
    EXPECT_EQ(count("tests/shell/test_a.cpp", "#include \"fake_window.inc\""), 1);
    EXPECT_EQ(count("tests/platform/forms/test_a.cpp", "#include \"fake_window.inc\""), 1);
    EXPECT_EQ(count("tests/platform/test_a.cpp", "#include \"common.h\""), 1);
    EXPECT_EQ(count("src/shell/a.cpp", "#include \"engine/fake_table.inc\""), 1);
    const QStringList all = tree.allBreaches();
    EXPECT_TRUE(all.contains(QStringLiteral("src/engine/fake_table.inc -> src/optimise/runs.h (runs up the layers)")))
        << all.join(u'\n').toStdString();
}

TEST(Layering, NoFileIncludesUpwards)
{
    const Tree tree = Tree::read(repository());
    EXPECT_GT(tree.size(), 300);
    EXPECT_TRUE(tree.contains(QStringLiteral("tests/launcher/CMakeLists.txt")));
    const QStringList found = tree.allBreaches();
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

}  // namespace
