#include "qt_fixture.hpp"

#include <QPixmap>

namespace brindle::testing {
namespace {

// Writes the loaded window as a picture into the build tree, to look at after a run.
TEST(QtScreenshot, WritesTheLoadedWindow) {
    QtForm1 form;
    const QPixmap shot = form.window.Window().grab();
    EXPECT_EQ(shot.size(), QSize(280, 168));
    EXPECT_TRUE(shot.save(QStringLiteral("form1.png")));
}

} // namespace
} // namespace brindle::testing
