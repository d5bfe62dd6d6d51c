// The Qt tests run real widgets on Qt's "offscreen" platform, so they need no display. The style
// and font are pinned so that geometry is the same on every machine.

#include "qt_fixture.hpp"

#include <QApplication>
#include <QFont>
#include <QStyleFactory>

#include <gtest/gtest.h>

namespace {

QtMessageHandler previous_handler = nullptr; // NOLINT(*-avoid-non-const-global-variables)

// A critical message is how the program reports a fault it caught at the toolkit's boundary; in
// the tests it fails the test that caused it.
void FailOnCritical(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg) {
        ADD_FAILURE() << "critical message: " << message.toStdString();
    }
    previous_handler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(brindle::testing::ReferenceFont());
    previous_handler = qInstallMessageHandler(&FailOnCritical);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
