#pragma once

#include "app/program_icon.hpp"
#include "app/program_record.hpp"
#include "platform/error_colour.hpp"
#include "platform/qt/qt_window.hpp"
#include "platform/qt/text_box/bounded_line_edit.hpp"
#include "simulated_form1.hpp"
#include "window/form1.hpp"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <string>
#include <utility>

#include <gtest/gtest.h>

namespace brindle::testing {

using QtTextBox = platform::qt::BoundedLineEdit;

// DejaVu Sans Condensed at 11 pixels has a 13-pixel line, the size at which 15 twips make one
// pixel, and captions about as wide as the design's, so that nothing needs to grow.
inline QFont ReferenceFont(int pixel_size = 11,
                           const QString& family = QStringLiteral("DejaVu Sans Condensed")) {
    QFont font(family);
    font.setPixelSize(pixel_size);
    return font;
}

// Sets the application's font for one window's life.
class ScopedApplicationFont {
public:
    explicit ScopedApplicationFont(const QFont& font) : previous_(QApplication::font()) {
        QApplication::setFont(font);
    }
    ScopedApplicationFont(const ScopedApplicationFont&) = delete;
    ScopedApplicationFont& operator=(const ScopedApplicationFont&) = delete;
    ~ScopedApplicationFont() { QApplication::setFont(previous_); }

private:
    QFont previous_;
};

// A Qt colour as the contrast rules take it.
inline platform::Rgb ToRgb(const QColor& colour) {
    return {static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
            static_cast<std::uint8_t>(colour.blue())};
}

// Form1 on real Qt widgets, loaded, shown and active, as the run routine leaves it.
class QtForm1 {
public:
    QtForm1() {
        window.Attach(form);
        window.Load();
        window.Window().show();
        QApplication::setActiveWindow(&window.Window());
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window.Window()));
    }

    template <class Widget>
    [[nodiscard]] Widget& Get(const char* name) const {
        auto* const widget = qobject_cast<Widget*>(window.Widget(name));
        EXPECT_NE(widget, nullptr) << name;
        return *widget;
    }
    [[nodiscard]] QtTextBox& Box(const char* name) const { return Get<QtTextBox>(name); }
    [[nodiscard]] QRadioButton& Option(const char* name) const { return Get<QRadioButton>(name); }
    [[nodiscard]] QLabel& Caption(const char* name) const { return Get<QLabel>(name); }

    [[nodiscard]] std::pair<std::string, std::string> Captions() const {
        return {Caption("lblResMB").text().toStdString(),
                Caption("lblextrares").text().toStdString()};
    }

    // What a fresh window shows for these boxes' texts and this option.
    [[nodiscard]] std::pair<std::string, std::string> FreshFor() const {
        return FreshCaptions(Box("txtCD").text().toStdString(),
                             Box("txtArchive").text().toStdString(),
                             [&](const char* option) { return Option(option).isChecked(); });
    }

    platform::qt::QtWindow window{app::BrindleWindowDesign(), app::ProgramIcon()};
    window::Form1 form{window};
};

} // namespace brindle::testing
