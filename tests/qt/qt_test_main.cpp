// The Qt tests run real widgets on Qt's "offscreen" platform, so they need no display. The style
// and font are pinned so that geometry is the same on every machine.

#include "qt_fixture.hpp"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(brindle::testing::ReferenceFont());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
