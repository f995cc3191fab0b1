#include "whole_runs.h"

#include "engine/conditions.h"
#include "optimise/install.h"
#include "platform/ui/prompt.h"
#include "sample_book.h"
#include "shell/globals.h"
#include "shell/desktop.h"
#include "shell/rs_dbsub.h"

#include <QDir>
#include <QFileInfo>

std::vector<QString> defaultRunSets()
{
    return {sourceFile("examples/シフト表作成/条件.csv"), sourceFile("examples/作成例1/条件.csv"),
            sourceFile("examples/作成例2/条件.csv"), QStringLiteral("bench")};
}

QString runSetLabel(const QString& set)
{
    if (set == u"bench")
        return set;
    const QFileInfo file(set);
    return file.fileName() == u"条件.csv" ? file.dir().dirName() : file.fileName();
}

bool prepareHeadlessRuns(const QTemporaryDir& work)
{
    AppPath = stWorkPath = stDbPath = work.path();
    if (AddTableField() != 0)
        return false;
    installConditionModelSteps();
    installOptimiserSteps();
    ui::setMessageHandler([](const ui::MessageRequest& r) { return (r.buttons & 7) == ui::vbYesNo ? ui::vbNo : ui::vbOK; });
    for (ui::Kind k : {ui::Kind::Custom, ui::Kind::Notice, ui::Kind::Dialog})
        ui::setDialogHandler(k, [](const ui::MessageRequest&) { return ui::Answer{0, {}}; });
    setShellOpener([](const QUrl&) { return true; });
    return true;
}
