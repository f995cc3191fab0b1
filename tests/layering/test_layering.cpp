// The layers include downwards only. Linking catches an upward call, but not a header that is
// used inline, so this reads what the compiler itself opened for each translation unit: the
// build's dependency records (ninja -t deps). Whatever way an include is spelt (a macro, a
// comment or a line break inside it, a digraph, #import), whichever folder lies between (a header
// in tools/, a symlink), every file opened is judged by the layer of its real path. A test stands
// in its layer: what it reaches through test support counts as its own.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
constexpr int kNoLayer = -1;  // test support, and what lies outside the repository (the system's)
constexpr int kOutside = -2;  // in the repository but in no layer: tools, benchmarks, test data

// path: relative to the repository's root.
int rank(const QString& path)
{
    if (path == QLatin1String("src/main.cpp"))
        return kApp;  // the executable's main starts the program through the app
    QString top = path.section(u'/', 1, 1);
    if (path.startsWith(QLatin1String("tests/"))) {
        const bool test = path.section(u'/', -1).startsWith(QLatin1String("test_"));
        if (top == QLatin1String("support") || (top == QLatin1String("validator") && !test))
            return kNoLayer;
        if (top == QLatin1String("validator"))
            top = QStringLiteral("engine");
        else if (top == QLatin1String("program"))
            top = QStringLiteral("app");
    } else if (!path.startsWith(QLatin1String("src/"))) {
        return kOutside;
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

// Why the unit `from` may not open `to` (both relative to the root), or empty when it may.
QString breach(const QString& from, const QString& to)
{
    if (to.startsWith(QLatin1String("tests/")) && !from.startsWith(QLatin1String("tests/")))
        return QStringLiteral("source includes test code");
    const int rf = rank(from);
    const int rt = rank(to);
    if (rt == kOutside)
        return QStringLiteral("outside the layers");
    if (rt == kNoLayer)
        return {};
    if ((rf == kLauncher) != (rt == kLauncher))
        return QStringLiteral("the launcher stands alone");
    if (rt > rf)
        return QStringLiteral("runs up the layers");
    if (isWindowCode(to) && !isWindowCode(from))
        return QStringLiteral("logic includes a window");
    return {};
}

// A build: its folder, the repository it builds and the files each of its units opened.
struct Build {
    QDir root;
    QDir folder;
    // Each unit's source first, then every file the compiler opened for it, as recorded.
    QList<QStringList> units;
};

// The dependency records of a Ninja build folder, each unit's source first.
QList<QStringList> readDependencies(const QString& folder)
{
    QProcess ninja;
    ninja.start(QStringLiteral(QV_NINJA), {QStringLiteral("-C"), folder, QStringLiteral("-t"), QStringLiteral("deps")});
    EXPECT_TRUE(ninja.waitForFinished(-1) && ninja.exitCode() == 0) << ninja.readAllStandardError().toStdString();
    QList<QStringList> units;
    for (const QByteArray& line : ninja.readAllStandardOutput().split('\n')) {
        if (line.startsWith("    "))
            units.back() << QString::fromLocal8Bit(line.trimmed());
        else if (!line.trimmed().isEmpty())
            units.append(QStringList());
    }
    units.removeIf([](const QStringList& files) { return files.isEmpty(); });
    return units;
}

// The file's real path relative to the root, or empty when it lies outside the repository or in
// the build folder (generated code).
QString projectPath(const Build& build, const QString& recorded)
{
    const QString real = QFileInfo(build.folder.absoluteFilePath(recorded)).canonicalFilePath();
    const QString relative = build.root.relativeFilePath(real);
    if (real.isEmpty() || relative.startsWith(QLatin1String("../"))
        || !build.folder.relativeFilePath(real).startsWith(QLatin1String("../")))
        return {};
    return relative;
}

// What is wrong in the build, one line each: "unit -> opened file (why)".
QStringList breaches(const Build& build)
{
    QStringList found;
    for (const QStringList& unit : build.units) {
        const QString source = projectPath(build, unit.first());
        // Only the layers' own units are held to them: tools, benchmarks and generated units
        // stand above all, test support stands as high as the tests that include it.
        if (source.isEmpty() || rank(source) < 0)
            continue;
        for (const QString& recorded : unit.mid(1)) {
            const QString opened = projectPath(build, recorded);
            if (opened.isEmpty() || opened == source)
                continue;
            if (const QString why = breach(source, opened); !why.isEmpty())
                found << QStringLiteral("%1 -> %2 (%3)").arg(source, opened, why);
        }
    }
    found.removeDuplicates();
    found.sort();
    return found;
}

// A repository of planted files built with the project's compiler, preprocessing only.
class PlantedBuild {
public:
    PlantedBuild() { EXPECT_TRUE(dir_.isValid()); }
    void file(const QString& path, const QByteArray& text)
    {
        const QString full = dir_.filePath(path);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(full).path()));
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        if (path.endsWith(QLatin1String(".cpp")))
            units_ << path;
    }
    // Both relative to the root.
    void link(const QString& path, const QString& target)
    {
        ASSERT_TRUE(QFile::link(dir_.filePath(target), dir_.filePath(path)));
    }
    Build build()
    {
        QByteArray ninja = "rule cc\n  command = " QV_CXX " -std=c++20 -I ../src -I ../tests -I ../tests/support -MD -MF $out.d -E $in -o $out\n"
                           "  deps = gcc\n  depfile = $out.d\n";
        for (int i = 0; i < units_.size(); ++i)
            ninja += "build " + QByteArray::number(i) + ".i: cc ../" + units_[i].toUtf8() + '\n';
        file(QStringLiteral("build/build.ninja"), ninja);
        QProcess run;
        run.start(QStringLiteral(QV_NINJA), {QStringLiteral("-C"), dir_.filePath(QStringLiteral("build"))});
        EXPECT_TRUE(run.waitForFinished(-1) && run.exitCode() == 0) << run.readAll().toStdString();
        const QDir folder(dir_.filePath(QStringLiteral("build")));
        return {QDir(dir_.path()), folder, readDependencies(folder.path())};
    }

private:
    QTemporaryDir dir_;
    QStringList units_;
};

TEST(Layering, TheRuleFindsEachKindOfBreach)
{
    PlantedBuild planted;
    for (const char* header : {"platform/os/clock.h", "shell/globals.h", "engine/model.h", "optimise/runs.h",
                               "engine/forms/progress_form.h", "shell/forms/message_box_form.h", "app/program.h",
                               "launcher/launcher.h"})
        planted.file(QStringLiteral("src/") + QLatin1String(header), "#pragma once\n");
    planted.file(QStringLiteral("tests/support/text.h"), "#pragma once\n");
    planted.file(QStringLiteral("tests/support/reaches_model.h"), "#pragma once\n#include \"engine/model.h\"\n");
    planted.file(QStringLiteral("tests/support/reaches_window.h"),
                 "#pragma once\n#include \"shell/forms/message_box_form.h\"\n");
    // Allowed: downwards, a window including a lower window, test support reaching no higher.
    planted.file(QStringLiteral("src/engine/rules.cpp"), "#include \"shell/globals.h\"\n#include \"model.h\"\n#include <vector>\n");
    planted.file(QStringLiteral("src/engine/forms/a.cpp"), "#include \"shell/forms/message_box_form.h\"\n");
    planted.file(QStringLiteral("src/main.cpp"), "#include \"app/program.h\"\n");
    planted.file(QStringLiteral("tests/engine/test_allowed.cpp"), "#include \"reaches_model.h\"\n#include \"text.h\"\n");
    planted.file(QStringLiteral("tests/shell/forms/test_allowed.cpp"), "#include \"reaches_window.h\"\n");
    planted.file(QStringLiteral("tests/launcher/test_allowed.cpp"), "#include \"../../src/launcher/launcher.h\"\n");
    // Plain breaches of every kind.
    planted.file(QStringLiteral("src/shell/up.cpp"), "#include \"../engine/model.h\"\n");
    planted.file(QStringLiteral("src/engine/window.cpp"), "#include \"engine/forms/progress_form.h\"\n");
    planted.file(QStringLiteral("src/app/launcher.cpp"), "#include \"launcher/launcher.h\"\n");
    planted.file(QStringLiteral("src/launcher/a.cpp"), "#include \"platform/os/clock.h\"\n");
    planted.file(QStringLiteral("src/engine/tests.cpp"), "#include \"../../tests/support/text.h\"\n");
    planted.file(QStringLiteral("tests/shell/test_support.cpp"), "#include \"reaches_model.h\"\n");
    planted.file(QStringLiteral("tests/shell/test_window.cpp"), "#include \"reaches_window.h\"\n");
    // The spellings and detours a pattern over the include lines would miss, each reaching optimise.
    planted.file(QStringLiteral("src/engine/macro.cpp"), "#define HEADER \"optimise/runs.h\"\n#include HEADER\n");
    planted.file(QStringLiteral("src/engine/comment.cpp"), "#include /* the runs */ \"optimise/runs.h\"\n");
    planted.file(QStringLiteral("src/engine/continued.cpp"), "#inc\\\nlude \"optimise/runs.h\"\n");
    planted.file(QStringLiteral("src/engine/digraph.cpp"), "%:include \"optimise/runs.h\"\n");
    planted.file(QStringLiteral("src/engine/import.cpp"), "#import \"optimise/runs.h\"\n");
    planted.file(QStringLiteral("tools/detour.h"), "#pragma once\n#include \"optimise/runs.h\"\n");
    planted.file(QStringLiteral("src/engine/tools.cpp"), "#include \"../../tools/detour.h\"\n");
    planted.link(QStringLiteral("src/engine/runs.h"), QStringLiteral("src/optimise/runs.h"));
    planted.file(QStringLiteral("src/engine/symlink.cpp"), "#include \"runs.h\"\n");

    const QStringList expected{
        QStringLiteral("src/app/launcher.cpp -> src/launcher/launcher.h (the launcher stands alone)"),
        QStringLiteral("src/engine/comment.cpp -> src/optimise/runs.h (runs up the layers)"),
        QStringLiteral("src/engine/continued.cpp -> src/optimise/runs.h (runs up the layers)"),
        QStringLiteral("src/engine/digraph.cpp -> src/optimise/runs.h (runs up the layers)"),
        QStringLiteral("src/engine/import.cpp -> src/optimise/runs.h (runs up the layers)"),
        QStringLiteral("src/engine/macro.cpp -> src/optimise/runs.h (runs up the layers)"),
        QStringLiteral("src/engine/symlink.cpp -> src/optimise/runs.h (runs up the layers)"),
        QStringLiteral("src/engine/tests.cpp -> tests/support/text.h (source includes test code)"),
        QStringLiteral("src/engine/tools.cpp -> src/optimise/runs.h (runs up the layers)"),
        QStringLiteral("src/engine/tools.cpp -> tools/detour.h (outside the layers)"),
        QStringLiteral("src/engine/window.cpp -> src/engine/forms/progress_form.h (logic includes a window)"),
        QStringLiteral("src/launcher/a.cpp -> src/platform/os/clock.h (the launcher stands alone)"),
        QStringLiteral("src/shell/up.cpp -> src/engine/model.h (runs up the layers)"),
        QStringLiteral("tests/shell/test_support.cpp -> src/engine/model.h (runs up the layers)"),
        QStringLiteral("tests/shell/test_window.cpp -> src/shell/forms/message_box_form.h (logic includes a window)"),
    };
    EXPECT_EQ(breaches(planted.build()), expected);
}

// Every unit of the layers' code in this build, as its compile commands list them.
QStringList layeredUnits(const Build& build)
{
    QFile commands(build.folder.filePath(QStringLiteral("compile_commands.json")));
    EXPECT_TRUE(commands.open(QIODevice::ReadOnly));
    QStringList units;
    for (const QJsonValue& entry : QJsonDocument::fromJson(commands.readAll()).array()) {
        const QString source = projectPath(build, entry.toObject().value(QStringLiteral("file")).toString());
        if (!source.isEmpty() && rank(source) >= 0)
            units << source;
    }
    units.removeDuplicates();
    units.sort();
    return units;
}

TEST(Layering, NoUnitOfTheBuildIncludesUpwards)
{
    const QDir folder(QStringLiteral(QV_BUILD_DIR));
    const Build build{QDir(QStringLiteral(QV_SOURCE_DIR)), folder, readDependencies(folder.path())};
    // Every unit of the layers was built and recorded: none escapes the check unread.
    QStringList recorded;
    for (const QStringList& unit : build.units)
        if (const QString source = projectPath(build, unit.first()); !source.isEmpty() && rank(source) >= 0)
            recorded << source;
    recorded.removeDuplicates();
    recorded.sort();
    const QStringList listed = layeredUnits(build);
    EXPECT_GT(listed.size(), 200);
    EXPECT_EQ(recorded, listed);
    const QStringList found = breaches(build);
    EXPECT_TRUE(found.isEmpty()) << found.join(u'\n').toStdString();
}

}  // namespace
