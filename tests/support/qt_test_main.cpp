// Test main for everything that needs a QApplication: messages are recorded, never shown.
#include "base/Fonts.h"
#include "base/QtTranslation.h"
#include "support/TestSupport.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tevuna-tests"));
    tevuna::installFontSubstitutions();
    tevuna::installQtTranslation();
    tevuna::Reporter::install(&tevuna::test::reporter());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
