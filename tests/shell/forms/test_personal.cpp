// The per-person settings dialog never passes for done when its workbook call cannot run.
#include "platform/ui/prompt.h"
#include "platform/xl/xl.h"
#include "shell/forms/personal_settings_form.h"
#include "shell/globals.h"
#include "shell/excel_layer.h"
#include "shell/state.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Personal, CancelDoesNothingAndEveryFailureIsSaid)
{
    resetShellState();
    QTemporaryDir dir;
    stWorkPath = dir.path();
    XlApp().workbooks().add();
    const QString in = dir.filePath(QStringLiteral("in.xls"));
    const auto apply = [](int answer) {
        ui::resetMessages();
        ui::setNextAnswer(answer);
        ui::setNextAnswer(ui::vbOK);
        frm個人別().onSaveSettingsClicked();
        return ui::shownMessages().back().prompt;
    };
    ui::setNextAnswer(ui::vbCancel);
    showPersonalSettings(nullptr);
    EXPECT_EQ(ui::shownMessages().back().title, QStringLiteral("frm個人別"));
    EXPECT_EQ(apply(ui::vbCancel), QStringLiteral("設定を反映します。\r\nよろしいですね！"));
    EXPECT_TRUE(apply(ui::vbOK).startsWith(QStringLiteral("個人別設定のブック in.xls が見つかりません。")));

    // A readable book without the macro: said, and closed again so that no second book stays open.
    xl::Application().workbooks().add().saveAs(in + QStringLiteral("x"));
    ASSERT_TRUE(QFile::rename(in + QStringLiteral("x"), in));
    EXPECT_TRUE(apply(ui::vbOK).startsWith(QStringLiteral("in.xls のマクロ「個人別設定反映」を実行できませんでした。")));
    EXPECT_EQ(xlApp->workbooks().count(), 1);
    resetShellState();
}
