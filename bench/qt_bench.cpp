// What the real window costs: one keystroke through Qt's widgets, from the key event to both
// captions written, and a whole process from start to its window on screen. Runs on Qt's
// "offscreen" platform unless QT_QPA_PLATFORM says otherwise.

#include "app/program_icon.hpp"
#include "app/program_record.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "window/form1.hpp"

#include <QApplication>
#include <QTest>
#include <array>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

#include <benchmark/benchmark.h>

extern char** environ; // NOLINT: POSIX declares it only this way

namespace {

using namespace brindle;

// A digit typed at the end of the archive box, then erased: each key event changes the text, so
// each runs the whole handler path.
void QtKeystroke(benchmark::State& state) {
    platform::qt::QtWindow window(app::BrindleWindowDesign(), app::ProgramIcon());
    window::Form1 form(window);
    window.Attach(form);
    window.Load();
    window.Window().show();
    auto* const box = qobject_cast<platform::qt::BoundedLineEdit*>(window.Widget("txtArchive"));
    box->setFocus();
    box->end(false);
    constexpr std::array<Qt::Key, 2> kKeys{Qt::Key_5, Qt::Key_Backspace};
    std::size_t next = 0;
    for (auto _ : state) {
        QTest::keyClick(box, kKeys[next]);
        next ^= 1U;
    }
    benchmark::DoNotOptimize(box->text());
}
BENCHMARK(QtKeystroke);

std::string probe_path;

void ProcessStartToWindowShown(benchmark::State& state) {
    char* argv[] = {probe_path.data(), nullptr};
    for (auto _ : state) {
        pid_t child = 0;
        if (posix_spawn(&child, probe_path.c_str(), nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the probe");
            return;
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the probe failed");
            return;
        }
    }
}
// Counted by the clock: this process only waits, and its own CPU time asked for a thousand starts
// (40 s) to fill the minimum time.
BENCHMARK(ProcessStartToWindowShown)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    probe_path = QT_STARTUP_PROBE;
    const QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
