#include "platform/qt/run_program.hpp"

#include "platform/number_locale.hpp"
#include "platform/qt/platform_choice.hpp"
#include "platform/qt/qt_icon.hpp"
#include "platform/qt/qt_text.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/qt/startup_stderr.hpp"
#include "platform/run_program.hpp"

#include <QApplication>
#include <QLocale>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brindle::platform::qt {

namespace {

// Qt ends the process with abort() when no platform plugin can start, as when there is no
// display (over ssh, from cron): a core dump and a screenful of plugin diagnostics. While the
// application object is being made, Qt's messages are held back; a fatal one becomes one line on
// standard error and exit status 1. What the display libraries print to standard error themselves
// is held back too. Once the toolkit has started, what was held goes out as usual.
class StartupMessages {
public:
    explicit StartupMessages(std::string_view executable)
        : executable_(executable), previous_(qInstallMessageHandler(&Handle)) {
        active_ = this;
    }
    StartupMessages(const StartupMessages&) = delete;
    StartupMessages& operator=(const StartupMessages&) = delete;
    ~StartupMessages() {
        qInstallMessageHandler(previous_);
        active_ = nullptr;
        for (const Held& held : held_) {
            const QMessageLogContext context(held.file, held.line, held.function, held.category);
            previous_(held.type, context, held.text);
        }
    }

private:
    struct Held {
        QtMsgType type;
        const char* file; // Qt's contexts point at static strings
        int line;
        const char* function;
        const char* category;
        QString text;
    };

    static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        StartupMessages& self = *active_;
        if (type == QtFatalMsg) {
            self.Fail(text);
        }
        self.held_.push_back(
            {type, context.file, context.line, context.function, context.category, text});
    }

    // Each platform plugin Qt tried says why it failed before Qt says that it could not load it
    // ("Failed to create wl_display", then: Could not load the Qt platform plugin "wayland");
    // the cause is each plugin's name with what it said. Qt's closing message only says that no
    // plugin could start.
    [[nodiscard]] QString Cause(const QString& fatal) const {
        QStringList tried;
        QStringList said;
        for (const Held& held : held_) {
            if (held.text.startsWith(QLatin1String("Could not load the Qt platform plugin"))) {
                const QString plugin = held.text.section(QLatin1Char('"'), 1, 1);
                tried.append(plugin + QLatin1String(": ") +
                             (said.isEmpty() ? held.text : said.join(QLatin1String(", "))));
                said.clear();
            } else {
                said.append(held.text.simplified());
            }
        }
        return tried.isEmpty() ? fatal.section(QLatin1Char('\n'), 0, 0)
                               : tried.join(QLatin1String("; "));
    }

    [[noreturn]] void Fail(const QString& fatal) const {
        const QString cause = Cause(fatal);
        const std::string line = std::string(executable_) +
                                 ": cannot open a display: " + FromQString(cause.simplified()) +
                                 "\n";
        stderr_.WriteOnly(line);
        // Qt is half made; nothing of it may run again, not even its static destructors.
        std::_Exit(1);
    }

    // Qt's message handler is a plain function; it finds the one start-up in progress here.
    static inline StartupMessages* active_ = nullptr; // NOLINT(*-avoid-non-const-global-variables)
    std::string_view executable_;
    StartupStderr stderr_;
    QtMessageHandler previous_ = nullptr;
    std::vector<Held> held_;
};

// The figures are written with Latin digits, so they take the separator the locale uses with
// Latin digits. Where a locale writes digits of its own (Arabic, Persian), Qt gives the separator
// that goes with those ("٫"); with Latin digits those locales write a full stop.
QString LatinDigitsDecimalPoint(const QLocale& locale) {
    return locale.zeroDigit() == QLatin1String("0") ? locale.decimalPoint() : QStringLiteral(".");
}

// Runs the program until its window is closed or, with `when_shown`, until the window is on
// screen and `when_shown` has looked at it.
int Run(const ProgramRecord& program, const std::function<void(QtWindow&)>& when_shown) {
    // The toolkit sees the program's name and, where the session calls for one, the platform to
    // run on: nothing typed after the command is taken as a toolkit option.
    std::string name(program.name);
    std::string option("-platform");
    std::string platforms(PlatformFor(CurrentSession()));
    std::vector<char*> arguments{name.data()};
    if (!platforms.empty()) {
        arguments.insert(arguments.end(), {option.data(), platforms.data()});
    }
    int argc = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    char** const argv = arguments.data();
    std::optional<StartupMessages> messages(std::in_place, program.executable);
    const QApplication application(argc, argv);
    messages.reset();
    QApplication::setApplicationName(ToQString(program.name));
    QApplication::setApplicationVersion(ToQString(program.version));
    QApplication::setOrganizationName(ToQString(program.maker));
    QGuiApplication::setDesktopFileName(ToQString(program.desktop_id));
    QApplication::setWindowIcon(ToQIcon(program.icon));
    QApplication::setQuitOnLastWindowClosed(true);
    // Figures are written with the user's decimal separator; day boxes are read the same way in
    // every locale.
    SetDecimalSeparator(FromQString(LatinDigitsDecimalPoint(QLocale())));

    // The window shows the application's icon, set above.
    QtWindow window(program.startup_window, {});
    const std::unique_ptr<EventTarget> logic = program.create_logic(window);
    if (when_shown) {
        // Queued behind the events that put the window on screen.
        QTimer::singleShot(0, &window.Window(), [&] {
            when_shown(window);
            QApplication::quit();
        });
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

int RunProgramUntilShown(const ProgramRecord& program,
                         const std::function<void(QtWindow&)>& when_shown) {
    return Run(
        program, when_shown ? when_shown : [](QtWindow& /*window*/) {});
}

} // namespace brindle::platform::qt

namespace brindle::platform {

void RunProgram(const ProgramRecord& program) {
    // The window and the toolkit are gone by now; ending here is what the run routine promises.
    std::exit(qt::Run(program, {})); // NOLINT(concurrency-mt-unsafe): one thread
}

} // namespace brindle::platform
