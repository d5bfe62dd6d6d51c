#include "platform/qt/run_program.hpp"
#include "qt_fixture.hpp"

#include <QTimer>

namespace brindle::testing {
namespace {

// The run loads and shows the window, then runs until the window is closed; closing it (as its
// close box does) ends the loop with success.
TEST(QtRun, EndsWhenTheWindowIsClosed) {
    platform::qt::QtWindow window(window::Form1Design(), app::ProgramIcon());
    window::Form1 form(window);
    bool loaded_and_shown = false;
    QTimer::singleShot(0, &window.Window(), [&] {
        loaded_and_shown = window.Window().isVisible() &&
                           qobject_cast<QLabel*>(window.Widget("lblResMB"))->text() == "34.15";
        window.Window().close();
    });
    // Should closing not end the loop, this ends it with a code the test does not expect.
    QTimer::singleShot(10'000, [] { QApplication::exit(99); });
    EXPECT_EQ(platform::qt::RunWindow(window, form), 0);
    EXPECT_TRUE(loaded_and_shown);
}

} // namespace
} // namespace brindle::testing
