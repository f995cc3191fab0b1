#pragma once
// A work folder of its own for every test, with the shared database state reset around it.
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/rs_db.h"
#include "shell/state.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class WorkFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        resetShellState();
        stWorkPath = dir.path();
        stDbPath = dir.path();
        DbBusyTimeoutMs = 0;
    }
    void TearDown() override
    {
        resetShellState();
    }
    size_t messages() const { return ui::shownMessages().size(); }
    // A statement on the work folder's database through a connection of the test's own.
    QVariant query(const QString& sql)
    {
        db::Connection c;
        c.open(DefaultDbPath());
        return c.scalar(sql);
    }

    QTemporaryDir dir;
};
