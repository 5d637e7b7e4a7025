#pragma once

#include "notes/uDM.h"
#include "support/TestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

namespace tevuna::test {

// A fresh application folder with an empty notes database, open.
class NotesFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        reporter().clear();
        QDir().mkpath(home.path(QStringLiteral("Data")));
        ASSERT_TRUE(TDM::CreateDatabase(TDM::databasePath(), nullptr));
        ASSERT_TRUE(dm.OpenDatabase());
    }

    TempHome home;
    TDM dm;
};

} // namespace tevuna::test
