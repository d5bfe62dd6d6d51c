#include "platform/qt/run_program.hpp"

#include "platform/number_locale.hpp"
#include "platform/qt/qt_icon.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/run_program.hpp"

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <cstdlib>
#include <string>

namespace brindle::platform::qt {

enum class Until { Closed, Shown };

namespace {

int Run(const ProgramRecord& program, Until until) {
    // The toolkit sees the program's name as its only argument, so that nothing typed after the
    // command is taken as a toolkit option.
    std::string name(program.name);
    int argc = 1;
    char* argv[] = {name.data(), nullptr};
    const QApplication application(argc, argv);
    QApplication::setApplicationName(ToQString(program.name));
    QApplication::setApplicationVersion(ToQString(program.version));
    QApplication::setOrganizationName(ToQString(program.maker));
    QGuiApplication::setDesktopFileName(ToQString(program.desktop_id));
    QApplication::setWindowIcon(ToQIcon(program.icon));
    QApplication::setQuitOnLastWindowClosed(true);
    // Figures are written with the user's decimal separator; day boxes are read the same way in
    // every locale.
    SetDecimalSeparator(FromQString(QLocale().decimalPoint()));

    // The window shows the application's icon, set above.
    QtWindow window(program.startup_window, {});
    const std::unique_ptr<EventTarget> logic = program.create_logic(window);
    if (until == Until::Shown) {
        // Queued behind the events that put the window on screen.
        QTimer::singleShot(0, &window.Window(), [] { QApplication::quit(); });
    }
    return RunWindow(window, *logic);
}

} // namespace

int RunWindow(QtWindow& window, EventTarget& logic) {
    window.Attach(logic);
    window.Load();
    window.Window().show();
    return QApplication::exec();
}

int RunProgramUntilShown(const ProgramRecord& program) {
    return Run(program, Until::Shown);
}

} // namespace brindle::platform::qt

namespace brindle::platform {

void RunProgram(const ProgramRecord& program) {
    // The window and the toolkit are gone by now; ending here is what the run routine promises.
    std::exit(qt::Run(program, qt::Until::Closed)); // NOLINT(concurrency-mt-unsafe): one thread
}

} // namespace brindle::platform
