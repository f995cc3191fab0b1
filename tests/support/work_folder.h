#pragma once
// A work folder of its own for every test, the database going beside it, with the globals put
// back by the test's layer's reset (the template argument) before and after.
#include "platform/db/db.h"
#include "platform/ui/prompt.h"
#include "shell/globals.h"
#include "shell/rs_db.h"
#include "reset_test.h"
#include "shell/rs_dbsub.h"
#include "text.h"

#include <QTemporaryDir>
#include <QVariant>
#include <cstddef>

template <void (*reset)()>
class WorkFolderTest : public ResetTest<reset> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ResetTest<reset>::SetUp();
        stWorkPath = stDbPath = dir.path();
        DbBusyTimeoutMs = 0;
    }
    // The database's tables, and the program's connection open on it.
    void openDatabase()
    {
        ASSERT_EQ(AddTableField(), 0);
        ASSERT_FALSE(DbConnect());
    }
    std::size_t messages() const { return ui::shownMessages().size(); }
    // A statement on the work folder's database through a connection of the test's own.
    QVariant query(const QString& sql)
    {
        db::Connection c;
        c.open(DefaultDbPath());
        return c.scalar(sql);
    }

    QTemporaryDir dir;
};
