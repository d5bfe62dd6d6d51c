// Runs the program's real start-up on GNOME's compositor, as a GNOME session starts it, and checks
// what GNOME makes of the window: it runs through XWayland, GNOME frames it with its own title
// bar, offers no maximise, matches it to its launcher, and the window shows the estimate and ends
// when GNOME closes it. Prints what it checked and exits with 1 if anything did not hold.
//
// Usage: gnome_probe DESKTOP_ENTRY

#include "app/program_record.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/qt/run_program.hpp"
#include "probe_checks.hpp"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <QWindow>
#include <cstdio>
#include <string>

namespace {

using brindle::platform::qt::QtWindow;

using brindle::testing::Check;

// What xprop reads of the window's X properties: "NAME(TYPE) = VALUE" a line.
QString Properties(WId window, const QStringList& names) {
    QProcess xprop;
    xprop.start("xprop", QStringList{"-id", QString::number(window)} + names);
    xprop.waitForFinished();
    return QString::fromUtf8(xprop.readAllStandardOutput());
}

QString Property(const QString& properties, const QString& name) {
    for (const QString& line : properties.split('\n')) {
        if (line.startsWith(name + "(")) {
            return line.section(" = ", 1);
        }
    }
    return {};
}

QString EntryValue(const QString& desktop_entry, const QString& key) {
    QFile file(desktop_entry);
    file.open(QIODevice::ReadOnly | QIODevice::Text);
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line.startsWith(key + "=")) {
            return line.mid(key.size() + 1);
        }
    }
    return {};
}

void Drive(QtWindow& window, const QString& desktop_entry) {
    QWidget& top = window.Window();
    Check(QGuiApplication::platformName() == QLatin1String("xcb"),
          "runs through XWayland, on " + QGuiApplication::platformName().toStdString());
    Check(QTest::qWaitForWindowExposed(top.windowHandle()), "the window is on screen");
    const auto caption = [&](const char* name) {
        return qobject_cast<QLabel*>(window.Widget(name))->text().toStdString();
    };
    Check(caption("lblResMB") == "34.15" && caption("lblextrares") == "GB - (34974.63 MB)",
          "the start-up estimate is shown");

    const WId id = top.winId();
    QString properties;
    const bool framed = QTest::qWaitFor(
        [&] {
            properties =
                Properties(id, {"_NET_FRAME_EXTENTS", "_NET_WM_ALLOWED_ACTIONS", "WM_CLASS"});
            return !Property(properties, "_NET_FRAME_EXTENTS").isEmpty();
        },
        5000);
    const QStringList extents = Property(properties, "_NET_FRAME_EXTENTS").split(", ");
    Check(framed && extents.size() == 4 && extents[2].toInt() > 0,
          "mutter frames it with a title bar: frame extents " +
              Property(properties, "_NET_FRAME_EXTENTS").toStdString());
    const QString actions = Property(properties, "_NET_WM_ALLOWED_ACTIONS");
    Check(actions.contains("_NET_WM_ACTION_CLOSE") && !actions.contains("MAXIMIZE") &&
              !actions.contains("_NET_WM_ACTION_FULLSCREEN") && !actions.contains("RESIZE"),
          "it can be closed, and not maximised or resized: " + actions.toStdString());

    // GNOME matches an X11 window to its launcher by the class in WM_CLASS.
    const QString wm_class = EntryValue(desktop_entry, "StartupWMClass");
    Check(!wm_class.isEmpty() && Property(properties, "WM_CLASS").endsWith("\"" + wm_class + "\""),
          "WM_CLASS " + Property(properties, "WM_CLASS").toStdString() +
              " matches the launcher's " + wm_class.toStdString());

    // As the title bar's close button asks: the window manager closes the window.
    QProcess::execute("wmctrl", {"-i", "-c", QString::number(id)});
    Check(QTest::qWaitFor([&] { return !top.isVisible(); }, 5000),
          "the window closes when GNOME closes it");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: gnome_probe DESKTOP_ENTRY\n", stderr);
        return 2;
    }
    const QString desktop_entry = QFile::decodeName(argv[1]);
    const int status = brindle::platform::qt::RunProgramUntilShown(
        brindle::app::BrindleProgram(), [&](QtWindow& window) { Drive(window, desktop_entry); });
    Check(status == 0, "the program ends with status 0");
    return brindle::testing::ProbeStatus();
}
