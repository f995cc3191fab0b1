#pragma once
// Whole generation runs in a folder of their own, every window of a run answered as a user who
// wants no log and no further windows would.
#include "common.h"
#include "engine/generation.h"
#include "engine/optimiser_steps.h"
#include "optimise/install.h"
#include "optimise/state.h"
#include "shell/globals.h"
#include "shell/rs_dbsub.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

template <class Base = ::testing::Test>
class WholeRunTest : public Base {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        resetOptimiseState();
        AppPath = stWorkPath = stDbPath = dir.path();
        ASSERT_EQ(AddTableField(), 0);
        installConditionModelSteps();
        installOptimiserSteps();
        noDisplayWait = true;
        // Too few rest days without automatic retries: the run would try again, so the user stops it.
        ui::setMessageHandler([](const ui::MessageRequest& r) {
            if (r.title == QStringLiteral("作成失敗"))
                Sw_中止 = true;
            return (r.buttons & 7) == ui::vbYesNo ? ui::vbNo : ui::vbOK;
        });
        for (ui::Kind k : {ui::Kind::Custom, ui::Kind::Notice, ui::Kind::Dialog})
            ui::setDialogHandler(k, [](const ui::MessageRequest&) { return ui::Answer{0, QStringLiteral("OK")}; });
    }
    void TearDown() override
    {
        ui::setMessageHandler({});
        for (ui::Kind k : {ui::Kind::Custom, ui::Kind::Notice, ui::Kind::Dialog})
            ui::setDialogHandler(k, {});
        resetOptimiseState();
    }
    QTemporaryDir dir;
};
