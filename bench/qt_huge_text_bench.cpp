// What a day box costs when it holds a huge text, as after pasting a mebibyte of digits: the
// paste itself, one keystroke at the end of such a text, a word step across it, a paint and a
// blink of its cursor, a screen reader's queries of it and of where its characters are (beside
// the toolkit's line edit, holding the same), the memory the process holds after ten such pastes
// and a cleared box, and the processor time the idle window takes with the text in it. The last two
// are reported as counters: resident_MB (after), resident_growth_MB, and cpu_share (processor
// seconds per second of idling).

#include "app/program_icon.hpp"
#include "app/program_record.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "window/form1.hpp"

#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QApplication>
#include <QClipboard>
#include <QEventLoop>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <array>
#include <chrono>
#include <ctime>
#include <fstream>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

using namespace brindle;

constexpr qsizetype kMebibyte = 1 << 20;

// A mebibyte that reads as a whole number of days: "1.000…", "2.000…".
QString HugeDays(char whole) {
    QString text(kMebibyte, QLatin1Char('0'));
    text[0] = QLatin1Char(whole);
    text[1] = QLatin1Char('.');
    return text;
}

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
}

double ProcessorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Form1 loaded, shown and active, with the archive box focused, as a user leaves it.
struct ShownForm1 {
    ShownForm1() {
        window.Attach(form);
        window.Load();
        window.Window().show();
        QApplication::setActiveWindow(&window.Window());
        (void)QTest::qWaitForWindowActive(&window.Window());
        box->setFocus();
    }
    // Select all, paste: what a user does to replace the box's text with the clipboard's.
    void PasteOverEverything() const {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    }

    platform::qt::QtWindow window{app::BrindleWindowDesign(), app::ProgramIcon()};
    window::Form1 form{window};
    platform::qt::BoundedLineEdit* box =
        qobject_cast<platform::qt::BoundedLineEdit*>(window.Widget("txtArchive"));
};

void QtPasteOneMebibyteOverTheBox(benchmark::State& state) {
    const ShownForm1 shown;
    const std::array<QString, 2> texts{HugeDays('1'), HugeDays('2')};
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QApplication::clipboard()->setText(texts[next]);
        next ^= 1U;
        state.ResumeTiming();
        shown.PasteOverEverything();
    }
    benchmark::DoNotOptimize(shown.box->text().size());
}
BENCHMARK(QtPasteOneMebibyteOverTheBox)->Unit(benchmark::kMillisecond);

// Two keys pressed in turn, the first from the end of a mebibyte of text.
void PressInTurnAtTheEndOfOneMebibyte(benchmark::State& state, std::array<Qt::Key, 2> keys,
                                      Qt::KeyboardModifiers modifiers) {
    const ShownForm1 shown;
    QApplication::clipboard()->setText(HugeDays('1'));
    shown.PasteOverEverything();
    shown.box->end(false);
    std::size_t next = 0;
    for (auto _ : state) {
        QTest::keyClick(shown.box, keys[next], modifiers);
        next ^= 1U;
    }
    benchmark::DoNotOptimize(shown.box->text().size());
}

// A digit typed at the end of a mebibyte of text, then erased.
void QtKeystrokeAtTheEndOfOneMebibyte(benchmark::State& state) {
    PressInTurnAtTheEndOfOneMebibyte(state, {Qt::Key_5, Qt::Key_Backspace}, Qt::NoModifier);
}
BENCHMARK(QtKeystrokeAtTheEndOfOneMebibyte)->Unit(benchmark::kMillisecond);

// Ctrl+Left from the end of a mebibyte of digits, then Ctrl+Right back: each crosses the whole
// word "000…" of a mebibyte less two characters.
void QtWordStepsAcrossOneMebibyte(benchmark::State& state) {
    PressInTurnAtTheEndOfOneMebibyte(state, {Qt::Key_Left, Qt::Key_Right}, Qt::ControlModifier);
}
BENCHMARK(QtWordStepsAcrossOneMebibyte)->Unit(benchmark::kMillisecond);

// What a screen reader asks of a day box holding a mebibyte: the character, word and line at,
// before and after an offset, near the end and in the middle: three queries an iteration, of
// characters (argument 0), words (1) or lines (4). Each is answered from a window around the offset
// (the line is the whole text, shared rather than copied).
void QtScreenReaderQueriesOnOneMebibyte(benchmark::State& state) {
    const ShownForm1 shown;
    QApplication::clipboard()->setText(HugeDays('1') + QStringLiteral(" 37 days"));
    shown.PasteOverEverything();
    QAccessibleTextInterface* const text =
        QAccessible::queryAccessibleInterface(shown.box)->textInterface();
    const auto boundary = static_cast<QAccessible::TextBoundaryType>(state.range(0));
    const int size = text->characterCount();
    const std::array<int, 3> offsets{size, size - 3, size / 2};
    std::size_t next = 0;
    int start = 0;
    int end = 0;
    for (auto _ : state) {
        const int offset = offsets[next];
        next = (next + 1) % offsets.size();
        benchmark::DoNotOptimize(text->textAtOffset(offset, boundary, &start, &end));
        benchmark::DoNotOptimize(text->textBeforeOffset(offset, boundary, &start, &end));
        benchmark::DoNotOptimize(text->textAfterOffset(offset, boundary, &start, &end));
    }
}
BENCHMARK(QtScreenReaderQueriesOnOneMebibyte)
    ->Arg(QAccessible::CharBoundary)
    ->Arg(QAccessible::WordBoundary)
    ->Arg(QAccessible::LineBoundary)
    ->Unit(benchmark::kMicrosecond);

// The box holding a mebibyte, its cursor at the end: painted whole (argument 0), as when the window
// is uncovered, or only where its cursor is (1), as each blink of the cursor paints it.
void QtPaintOfOneMebibyte(benchmark::State& state) {
    const ShownForm1 shown;
    QApplication::clipboard()->setText(HugeDays('1'));
    shown.PasteOverEverything();
    const bool blink = state.range(0) == 1;
    for (auto _ : state) {
        if (blink) {
            shown.box->repaint(shown.box->cursorRect());
        } else {
            shown.box->repaint();
        }
    }
}
BENCHMARK(QtPaintOfOneMebibyte)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Where characters spread over a mebibyte are drawn, as a screen reader asks it, one offset at a
// time (most are scrolled out of sight): 100,000 offsets in the day box (arguments 0, 100000) and,
// as it takes milliseconds an offset, 100 in the toolkit's line edit holding the same text (1,
// 100). The counter us_per_offset compares them.
void QtCharacterRectsOverOneMebibyte(benchmark::State& state) {
    const ShownForm1 shown;
    QApplication::clipboard()->setText(HugeDays('1'));
    shown.PasteOverEverything();
    QLineEdit line_edit(HugeDays('1'));
    line_edit.show();
    QWidget* const widget = state.range(0) == 0 ? static_cast<QWidget*>(shown.box) : &line_edit;
    QAccessibleTextInterface* const text =
        QAccessible::queryAccessibleInterface(widget)->textInterface();
    const auto offsets = static_cast<int>(state.range(1));
    const int step = text->characterCount() / offsets;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int offset = 0; offset < offsets; ++offset) {
            benchmark::DoNotOptimize(text->characterRect(offset * step));
        }
        const std::chrono::duration<double, std::micro> taken =
            std::chrono::steady_clock::now() - start;
        state.counters["us_per_offset"] = taken.count() / offsets;
    }
}
BENCHMARK(QtCharacterRectsOverOneMebibyte)
    ->Args({0, 100'000})
    ->Args({1, 100})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// Ten pastes of a mebibyte, then the box cleared and a normal figure typed: how much more memory
// the process holds than before the first paste.
void QtResidentMemoryAfterTenPastes(benchmark::State& state) {
    for (auto _ : state) {
        const ShownForm1 shown;
        const double before = ResidentMegabytes();
        for (int paste = 0; paste < 10; ++paste) {
            QApplication::clipboard()->setText(HugeDays(paste % 2 == 0 ? '1' : '2'));
            shown.PasteOverEverything();
        }
        QApplication::clipboard()->clear();
        shown.box->selectAll();
        QTest::keyClick(shown.box, Qt::Key_Delete);
        QTest::keyClicks(shown.box, "37");
        QTest::qWait(100);
        const double after = ResidentMegabytes();
        state.counters["resident_MB"] = after;
        state.counters["resident_growth_MB"] = after - before;
    }
}
BENCHMARK(QtResidentMemoryAfterTenPastes)->Iterations(1)->Unit(benchmark::kMillisecond);

// Runs the event loop for `milliseconds` as the program's own loop runs: asleep until a timer or
// an event wakes it. (QTest::qWait would poll every few milliseconds and measure itself.)
void Idle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window left alone for four seconds, focused on a box holding a text of the given length
// (its cursor blinking): processor seconds used per second. The short text is the reference.
void QtIdleWithTextInABox(benchmark::State& state) {
    for (auto _ : state) {
        const ShownForm1 shown;
        QString days = HugeDays('1');
        days.truncate(state.range(0));
        QApplication::clipboard()->setText(days);
        shown.PasteOverEverything();
        Idle(200);
        const double start = ProcessorSeconds();
        Idle(4000);
        state.counters["cpu_share"] = (ProcessorSeconds() - start) / 4.0;
    }
}
BENCHMARK(QtIdleWithTextInABox)
    ->Arg(1)
    ->Arg(kMebibyte)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
