#pragma once
// The whole program in-process: a copy of a sample work folder made the current directory, the
// program's globals reset, and the main window started as the launcher starts it. Every question
// is answered by the scripted hook (platform/ui/prompt.h).
#include "app/program.h"
#include "app/state.h"
#include "common.h"
#include "platform/db/db.h"
#include "platform/ui/prompt.h"
#include "platform/xl/widgets/sheet_window.h"
#include "platform/xl/xl.h"
#include "app/main_window.h"
#include "shell/globals.h"
#include "shell/lifecycle.h"
#include "shell/process_list.h"
#include "shell/excel_layer.h"
#include "shell/rs_db.h"
#include "shell/status.h"
#include "workbook/condition_file.h"
#include "workbook/template.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class ProgramTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        xl::widgets::install();
        // One sample workbook, written as the build writes the work folders' books.
        book_ = new QTemporaryDir;
        xl::Application app;
        xl::Workbook& b = workbook::createTemplate(app, QDate(2027, 1, 1));
        ASSERT_TRUE(condition_file::loadConditions(b, sourceFile(kGeneral)).ok);
        b.saveAs(book_->filePath(QStringLiteral("shift.xlsm")));
    }
    static void TearDownTestSuite()
    {
        delete book_;
        book_ = nullptr;
    }

    void SetUp() override
    {
        resetAppState();
        // The reset takes the installed steps out as well.
        installProgramSteps();
        oldCurrent_ = QDir::currentPath();
        work_ = dir_.filePath(QStringLiteral("シフト表作成"));
        ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("シフト表作成/log")));
        ASSERT_TRUE(QFile::copy(book_->filePath(QStringLiteral("shift.xlsm")), book()));
        AppPath = dir_.path();
        QDir::setCurrent(work_);
        ProcRoot = proc_.path();
        QCoreApplication::setApplicationVersion(QStringLiteral("2.1.5"));
    }
    void TearDown() override
    {
        window_.reset();
        DbClose();
        QDir::setCurrent(oldCurrent_);
        DspSplash(QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        resetAppState();
    }

    bool start()
    {
        window_ = std::make_unique<frm勤務管理>();
        return window_->Form_Initialize();
    }
    QString book() const { return QDir(work_).filePath(QStringLiteral("shift.xlsm")); }
    QString dbFile() const { return QDir(work_).filePath(QStringLiteral("集計.db")); }
    static QString lastTitle() { return ui::shownMessages().empty() ? QString() : ui::shownMessages().back().title; }
    // An edit as the user makes it: the workbook is then unsaved.
    static void edit()
    {
        xlBook->worksheets(QStringLiteral("人員配置表")).range(QStringLiteral("Dirty")).setValue(1);
        xlBook->setSaved(false);
    }

    inline static QTemporaryDir* book_ = nullptr;
    QTemporaryDir dir_;
    QTemporaryDir proc_;
    QString work_;
    QString oldCurrent_;
    std::unique_ptr<frm勤務管理> window_;
};
