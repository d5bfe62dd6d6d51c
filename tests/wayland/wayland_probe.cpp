// Runs the program's real start-up on the Wayland compositor of its environment and drives the
// window as a user and the compositor would: its title bar, typing, an option click, a maximise
// and a full-screen request (what the compositor's own shortcuts ask for), and closing. Prints
// what it checked and exits with 1 if anything did not hold. The compositor ending the connection
// ends the process with status 1 too, before the closing line.

#include "app/program_record.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/qt/run_program.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "platform/qt/title_bar.hpp"
#include "probe_checks.hpp"
#include "simulated_form1.hpp"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <map>
#include <string>

namespace {

using brindle::platform::qt::QtWindow;
using brindle::platform::qt::TitleBar;
using brindle::testing::Check;

std::pair<std::string, std::string> Captions(QtWindow& window) {
    const auto caption = [&](const char* name) {
        return qobject_cast<QLabel*>(window.Widget(name))->text().toStdString();
    };
    return {caption("lblResMB"), caption("lblextrares")};
}

std::map<std::string, QRect> Places(QtWindow& window) {
    std::map<std::string, QRect> places;
    for (const auto& control : window.Design().controls) {
        places[std::string(control.name)] = window.Widget(control.name)->geometry();
    }
    return places;
}

// Asks the compositor for a state and waits until it has configured it and the window has taken
// its size; the program must still be running and its controls where they were.
void SurvivesState(QtWindow& window, Qt::WindowState state, const char* name) {
    QWidget& top = window.Window();
    const QSize own = top.size();
    const auto places = Places(window);
    top.windowHandle()->setWindowStates(state);
    const bool configured = QTest::qWaitFor(
        [&] { return (top.windowState() & state) != 0 && top.size() != own; }, 5000);
    Check(configured, std::string(name) + ": the compositor's size is taken");
    QTest::qWait(200); // a frame or two at that size, which the compositor checks
    Check(top.width() >= own.width() && top.height() >= own.height(),
          std::string(name) + ": the design fits in " + std::to_string(top.width()) + "x" +
              std::to_string(top.height()));
    Check(Places(window) == places, std::string(name) + ": every control keeps its place");
    top.windowHandle()->setWindowStates(Qt::WindowNoState);
    const bool back = QTest::qWaitFor(
        [&] { return top.windowState() == Qt::WindowNoState && top.size() == own; }, 5000);
    Check(back, std::string(name) + " ended: the window has its own size again");
}

// Weston draws no title bar and offers no server-side ones: the window draws its own, as Qt's
// would have a maximise button and the title cut off at both ends. It shows the title from its
// start, has a close button and nothing else, and the controls sit below it.
void CheckTitleBar(QtWindow& window) {
    const TitleBar* const bar = window.OwnTitleBar();
    const QMargins frame = window.Window().windowHandle()->frameMargins();
    Check(bar != nullptr && frame.isNull(),
          "the window has a title bar of its own, and Qt draws none: margins " +
              std::to_string(frame.left()) + "," + std::to_string(frame.top()) + "," +
              std::to_string(frame.right()) + "," + std::to_string(frame.bottom()));
    if (bar == nullptr) {
        return;
    }
    const QString shown = bar->ShownTitle();
    const QString title = window.Window().windowTitle();
    QString start = shown;
    start.chop(shown.endsWith(QChar(0x2026)) ? 1 : 0);
    Check(start.size() >= 10 && title.startsWith(start),
          "the title bar shows the title from its start: " + shown.toStdString());
    const auto buttons = bar->findChildren<QAbstractButton*>();
    Check(buttons.size() == 1 && buttons.front() == &bar->CloseButton(),
          "its one button closes; there is no maximise");
    bool below = true;
    for (const auto& control : window.Design().controls) {
        below = below && window.Widget(control.name)->y() >= bar->Height();
    }
    Check(below && bar->width() == window.Window().width(),
          "it spans the window, above every control");
}

void Drive(QtWindow& window) {
    using brindle::testing::FreshCaptions;
    QWidget& top = window.Window();
    Check(QGuiApplication::platformName() == QLatin1String("wayland"),
          "runs on " + QGuiApplication::platformName().toStdString());
    Check(QTest::qWaitForWindowExposed(top.windowHandle()), "the window is on screen");
    Check(top.windowTitle().toStdString() == window.Design().caption,
          "the title is " + top.windowTitle().toStdString());
    Check(QGuiApplication::desktopFileName().toStdString() ==
              brindle::app::BrindleProgram().desktop_id,
          "the app id is " + QGuiApplication::desktopFileName().toStdString());
    Check(Captions(window) == std::pair<std::string, std::string>("34.15", "GB - (34974.63 MB)"),
          "the start-up estimate is shown");
    CheckTitleBar(window);

    auto* const box = qobject_cast<brindle::platform::qt::BoundedLineEdit*>(window.Widget("txtCD"));
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "10");
    Check(Captions(window) ==
              FreshCaptions("10", "37", [](std::string_view o) { return o == "opt11kmono"; }),
          "typing 10 days at CD quality recomputes");
    auto* const option = qobject_cast<QRadioButton*>(window.Widget("opt22KStereo"));
    QTest::mouseClick(option, Qt::LeftButton);
    Check(Captions(window) ==
              FreshCaptions("10", "37", [](std::string_view o) { return o == "opt22KStereo"; }),
          "clicking 22 KHz Stereo recomputes");

    SurvivesState(window, Qt::WindowMaximized, "maximised");
    SurvivesState(window, Qt::WindowFullScreen, "full screen");
    Check(Captions(window) ==
              FreshCaptions("10", "37", [](std::string_view o) { return o == "opt22KStereo"; }),
          "the figures are unchanged");

    if (const TitleBar* const bar = window.OwnTitleBar()) {
        QTest::mouseClick(&bar->CloseButton(), Qt::LeftButton);
        Check(QTest::qWaitFor([&] { return !top.isVisible(); }, 5000),
              "the title bar's close button closes the window");
    }
}

} // namespace

int main() {
    const int status = brindle::platform::qt::RunProgramUntilShown(
        brindle::app::BrindleProgram(), [](QtWindow& window) { Drive(window); });
    Check(status == 0, "the window closes cleanly");
    return brindle::testing::ProbeStatus();
}
