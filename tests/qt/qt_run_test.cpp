#include "app/program_record.hpp"
#include "platform/qt/platform_choice.hpp"
#include "platform/qt/run_program.hpp"
#include "qt_fixture.hpp"
#include "simulated_form1.hpp"

#include <QProcess>
#include <QTimer>
#include <string>

namespace brindle::testing {
namespace {

// The run loads and shows the window, then runs until the window is closed; closing it (as its
// close box does) ends the loop with success.
TEST(QtRun, EndsWhenTheWindowIsClosed) {
    platform::qt::QtWindow window(app::BrindleWindowDesign(), app::ProgramIcon());
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

struct NoDisplay {
    const char* platform; // QT_QPA_PLATFORM, or nullptr for Qt's default
    const char* display;  // DISPLAY, or nullptr for none
    const char* session;  // XDG_SESSION_TYPE, or nullptr for none
    const char* cause;    // what the one line must name
};

// Started where there is no display (over ssh, from cron), the program says so in one line and
// exits with status 1: no abort, no core dump, no wall of plugin diagnostics, and nothing from the
// display libraries either (libwayland-client complains of XDG_RUNTIME_DIR on its own). The
// cases hold whichever platform plugins are installed; the test command installs the Wayland one.
TEST(QtRun, WithoutADisplaySaysSoInOneLineAndExitsWithOne) {
    const NoDisplay cases[] = {
        {nullptr, nullptr, nullptr, "could not connect to display"},
        {"xcb", ":97", nullptr, "could not connect to display :97"},
        {"wayland", nullptr, nullptr, "wayland"},
        // A Wayland desktop reached over ssh: the session is named, its display is not there.
        {nullptr, nullptr, "wayland", "could not connect to display"},
    };
    for (const auto& [platform, display, session, cause] : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY",
                                 "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR"}) {
            environment.remove(QString::fromLatin1(name));
        }
        if (session != nullptr) {
            environment.insert("XDG_SESSION_TYPE", session);
        }
        if (platform != nullptr) {
            environment.insert("QT_QPA_PLATFORM", platform);
        }
        if (display != nullptr) {
            environment.insert("DISPLAY", display);
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(BRINDLE_TEST_PROGRAM), {});
        ASSERT_TRUE(program.waitForFinished(30'000)) << platform;
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << platform;
        EXPECT_EQ(program.exitCode(), 1) << platform;
        const QString error = QString::fromUtf8(program.readAllStandardError());
        EXPECT_TRUE(error.startsWith("brindledsc: cannot open a display: ")) << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(cause))) << error.toStdString();
        EXPECT_EQ(error.count('\n'), 1) << error.toStdString();
        EXPECT_TRUE(error.endsWith('\n')) << error.toStdString();
        EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
    }
}

struct LocaleCase {
    const char* locale;
    char separator; // the decimal separator the figures must show
};

// The real start-up hands the figures the decimal separator that the user's locale writes with
// Latin digits: a comma in German, a full stop in English, and a full stop in Arabic and Persian,
// whose own separator goes with their own digits. A day box is read with a full stop everywhere.
TEST(QtRun, FiguresTakeTheLocalesSeparatorForLatinDigits) {
    const auto [gigabytes, megabytes] =
        FreshCaptions("1.5", "37", [](std::string_view option) { return option == "opt11kmono"; });
    for (const auto& [locale, separator] :
         {LocaleCase{"ar_EG.UTF-8", '.'}, LocaleCase{"fa_IR.UTF-8", '.'},
          LocaleCase{"de_DE.UTF-8", ','}, LocaleCase{"en_US.UTF-8", '.'}}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LANG", locale);
        environment.insert("LC_ALL", locale);
        QProcess probe;
        probe.setProcessEnvironment(environment);
        probe.start(QStringLiteral(BRINDLE_TEST_LOCALE_PROBE), {});
        ASSERT_TRUE(probe.waitForFinished(30'000)) << locale;
        EXPECT_EQ(probe.exitCode(), 0) << locale;
        const std::string shown = QString::fromUtf8(probe.readAllStandardOutput()).toStdString();
        EXPECT_EQ(shown, WithSeparator("34.15|GB - (34974.63 MB)\n", separator) +
                             WithSeparator(gigabytes + "|" + megabytes + "\n", separator))
            << locale;
    }
}

// On GNOME the window runs through XWayland, where GNOME draws its title bar, unless there is no
// X display or the user chose a platform; every other desktop keeps Qt's choice.
TEST(QtRun, RunsThroughXWaylandOnGnomeOnly) {
    using platform::qt::Session;
    const std::pair<Session, std::string_view> cases[] = {
        {{.desktops = "GNOME", .x_display = true}, "xcb;wayland"},
        {{.desktops = "ubuntu:GNOME", .x_display = true}, "xcb;wayland"},
        {{.desktops = "GNOME-Classic:GNOME", .x_display = true}, "xcb;wayland"},
        {{.desktops = "GNOME"}, ""},
        {{.desktops = "GNOME", .x_display = true, .platform_chosen = true}, ""},
        {{.desktops = "KDE", .x_display = true}, ""},
        {{.desktops = "GNOME-Flashback", .x_display = true}, ""},
        {{.desktops = "", .x_display = true}, ""},
    };
    for (const auto& [session, platforms] : cases) {
        EXPECT_EQ(platform::qt::PlatformFor(session), platforms) << session.desktops;
    }
}

} // namespace
} // namespace brindle::testing
