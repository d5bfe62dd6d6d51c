// Runs the program's real start-up in the locale of its environment and prints what the window
// then shows: the two result captions at start, and again after "1.5" is typed into the CD box.
// The locale tests start it with LANG and LC_ALL set.

#include "app/program_record.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/qt/run_program.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"

#include <QLabel>
#include <QTest>
#include <cstdio>

namespace {

void PrintCaptions(brindle::platform::qt::QtWindow& window) {
    const auto caption = [&](const char* name) {
        return qobject_cast<QLabel*>(window.Widget(name))->text().toStdString();
    };
    std::printf("%s|%s\n", caption("lblResMB").c_str(), caption("lblextrares").c_str());
}

} // namespace

int main() {
    return brindle::platform::qt::RunProgramUntilShown(
        brindle::app::BrindleProgram(), [](brindle::platform::qt::QtWindow& window) {
            PrintCaptions(window);
            auto* const box =
                qobject_cast<brindle::platform::qt::BoundedLineEdit*>(window.Widget("txtCD"));
            box->selectAll();
            QTest::keyClicks(box, "1.5");
            PrintCaptions(window);
        });
}
