// What a user with a high-contrast theme or a fractional display scale sees: the figures, greyed
// or not, and every frame and outline stand out at 3:1 or more against the window, whole on every
// side, in light, dark and high-contrast themes and at every usual scale.

#include "platform/error_colour.hpp"
#include "qt_fixture.hpp"

#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionButton>
#include <cmath>
#include <functional>
#include <string>

namespace brindle::testing {
namespace {

using platform::ContrastRatio;
using platform::Rgb;

QPalette MakePalette(QColor window, QColor text, QColor base, QColor disabled_text) {
    QPalette palette;
    for (const auto role : {QPalette::Window, QPalette::Button}) {
        palette.setColor(role, window);
    }
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        palette.setColor(role, text);
    }
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled_text);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabled_text);
    return palette;
}

struct Theme {
    const char* name;
    QPalette palette;
};

std::vector<Theme> Themes() {
    return {
        {"Fusion light", QApplication::style()->standardPalette()},
        {"dark", MakePalette(QColor(0x35, 0x35, 0x35), Qt::white, QColor(0x2a, 0x2a, 0x2a),
                             QColor(0x7f, 0x7f, 0x7f))},
        // High-contrast themes often grey text out to the window's own colour.
        {"high contrast black", MakePalette(Qt::black, Qt::white, Qt::black, Qt::black)},
        {"high contrast white", MakePalette(Qt::white, Qt::black, Qt::white, Qt::white)},
    };
}

// The window drawn as a display at `scale` shows it, one image pixel a device pixel.
QImage RenderAt(QWidget& window, qreal scale) {
    QImage image(QSize(static_cast<int>(std::ceil(window.width() * scale)),
                       static_cast<int>(std::ceil(window.height() * scale))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(window.palette().color(QPalette::Window));
    window.render(&image);
    return image;
}

// The device pixels of a logical rectangle at `scale`.
QRect DeviceRect(const QRect& logical, qreal scale) {
    const auto at = [&](int value) { return static_cast<int>(std::floor(value * scale)); };
    return QRect(QPoint(at(logical.left()), at(logical.top())),
                 QPoint(at(logical.right() + 1) - 1, at(logical.bottom() + 1) - 1));
}

// The highest contrast against `background` among the pixels of `area`.
double StrongestContrast(const QImage& image, const QRect& area, Rgb background) {
    double strongest = 1.0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            strongest =
                std::max(strongest, ContrastRatio(ToRgb(image.pixelColor(x, y)), background));
        }
    }
    return strongest;
}

// A line of the frame on one side of `logical` is whole when, somewhere in the band of device
// pixels one logical pixel deep along that side, a full row (or column) stands out at 3:1. The
// band starts a pixel outside, as the edge may round either way.
bool SideIsWhole(const QImage& image, const QRect& logical, qreal scale, Rgb background,
                 Qt::Edge side) {
    const QRect device = DeviceRect(logical, scale);
    const int depth = static_cast<int>(std::ceil(scale)) + 1;
    const bool horizontal = side == Qt::TopEdge || side == Qt::BottomEdge;
    // Corners may be rounded off; the middle of a side may not.
    const int inset = depth + 1;
    for (int line = -1; line < depth; ++line) {
        bool whole = true;
        if (horizontal) {
            const int y = side == Qt::TopEdge ? device.top() + line : device.bottom() - line;
            for (int x = device.left() + inset; x <= device.right() - inset && whole; ++x) {
                whole = ContrastRatio(ToRgb(image.pixelColor(x, y)), background) >= 3.0;
            }
        } else {
            const int x = side == Qt::LeftEdge ? device.left() + line : device.right() - line;
            for (int y = device.top() + inset; y <= device.bottom() - inset && whole; ++y) {
                whole = ContrastRatio(ToRgb(image.pixelColor(x, y)), background) >= 3.0;
            }
        }
        if (whole) {
            return true;
        }
    }
    return false;
}

constexpr Qt::Edge kSides[] = {Qt::TopEdge, Qt::BottomEdge, Qt::LeftEdge, Qt::RightEdge};

QRect IndicatorRect(QRadioButton& option) {
    QStyleOptionButton style_option;
    style_option.initFrom(&option);
    const QRect indicator =
        option.style()->subElementRect(QStyle::SE_RadioButtonIndicator, &style_option, &option);
    return indicator.translated(option.pos());
}

// Fails the CD box's event, which greys the figures; typing a number clears it again.
void Overflow(QtForm1& form) {
    QtTextBox& cd = form.Box("txtCD");
    cd.selectAll();
    QTest::keyClicks(&cd, "5e289");
    ASSERT_FALSE(form.Caption("lblResMB").isEnabled());
}

TEST(QtContrast, FiguresFramesAndOutlinesStandOutInEveryTheme) {
    for (const auto& [name, palette] : Themes()) {
        QtForm1 form;
        form.window.SetBeep([] {});
        form.window.Window().setPalette(palette);
        const Rgb window = ToRgb(palette.color(QPalette::Window));
        for (const bool greyed : {false, true}) {
            if (greyed) {
                Overflow(form);
            }
            const std::string state = std::string(name) + (greyed ? ", greyed" : "");
            const QImage image = RenderAt(form.window.Window(), 1.0);
            for (const char* figure : {"lblResMB", "lblextrares"}) {
                const QRect text =
                    form.Caption(figure).contentsRect().translated(form.Caption(figure).pos());
                EXPECT_GE(StrongestContrast(image, text, window), 3.0) << state << ": " << figure;
            }
            for (const Qt::Edge side : kSides) {
                EXPECT_TRUE(
                    SideIsWhole(image, form.Caption("lblResMB").geometry(), 1.0, window, side))
                    << state << ": the framed figure's side " << side;
            }
        }
        const QImage image = RenderAt(form.window.Window(), 1.0);
        for (const char* box : {"txtCD", "txtArchive"}) {
            const QRect outline = form.Box(box).geometry().adjusted(-1, -1, 1, 1);
            for (const Qt::Edge side : kSides) {
                EXPECT_TRUE(SideIsWhole(image, outline, 1.0, window, side))
                    << name << ": " << box << "'s outline, side " << side;
            }
        }
        for (const char* option : kOptions) {
            const QRect indicator = IndicatorRect(form.Option(option)).adjusted(-1, -1, 0, 0);
            // The leftmost column of the round indicator's outline.
            const QRect column(indicator.left(), indicator.center().y() - 1, 1, 3);
            EXPECT_GE(StrongestContrast(image, column, window), 3.0) << name << ": " << option;
        }
    }
}

// At fractional scales a one-pixel frame falls across device pixels; it must still be drawn on
// every side, the error state's greyed frame included. Fonts of several sizes put the controls'
// edges at different fractions of a device pixel.
TEST(QtContrast, EveryFrameIsWholeAtEveryScale) {
    for (const int pixel_size : {11, 12, 13, 14, 15}) {
        const ScopedApplicationFont font(ReferenceFont(pixel_size));
        QtForm1 form;
        form.window.SetBeep([] {});
        const Rgb window = ToRgb(form.window.Window().palette().color(QPalette::Window));
        for (const bool greyed : {false, true}) {
            if (greyed) {
                Overflow(form);
            }
            for (const qreal scale : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5}) {
                const QImage image = RenderAt(form.window.Window(), scale);
                const std::string where = std::to_string(pixel_size) + " px font, scale " +
                                          std::to_string(scale) + (greyed ? ", greyed" : "");
                for (const Qt::Edge side : kSides) {
                    EXPECT_TRUE(SideIsWhole(image, form.Caption("lblResMB").geometry(), scale,
                                            window, side))
                        << where << ": the framed figure's side " << side;
                    for (const char* box : {"txtCD", "txtArchive"}) {
                        EXPECT_TRUE(SideIsWhole(image,
                                                form.Box(box).geometry().adjusted(-1, -1, 1, 1),
                                                scale, window, side))
                            << where << ": " << box << "'s outline, side " << side;
                    }
                }
            }
        }
    }
}

} // namespace
} // namespace brindle::testing
