#pragma once

#include "platform/design.hpp"
#include "platform/indexed_image.hpp"
#include "platform/layout.hpp"
#include "platform/qt/announcer.hpp"
#include "platform/twips.hpp"
#include "platform/window_core.hpp"

#include <QPainter>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace brindle::platform::qt {

class TitleBar;

// A window of real Qt widgets built from a design: a text box of our own per text box (one that
// holds any length of text at the cost of a short one), a radio button per
// option (one exclusive group), a label per label, placed in twips scaled through the window's
// font. What every backend does alike (events, error display, layout) is the window core's; this
// is the Qt side of it. A failed event's control gets a ring around it, painted by the window,
// and a tool tip and accessible description saying why.
class QtWindow final : public WindowCore, private WindowBackend {
public:
    QtWindow(const WindowDesign& design, std::span<const IndexedImage> icon);
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;
    ~QtWindow();

    [[nodiscard]] QWidget& Window() noexcept { return *window_; }
    // The window's own title bar, where the compositor draws none (title_bar.hpp); else nullptr.
    [[nodiscard]] const TitleBar* OwnTitleBar() const noexcept { return title_bar_; }
    // The widget of a control, by its design name; nullptr when there is none.
    [[nodiscard]] QWidget* Widget(std::string_view name) const noexcept;
    [[nodiscard]] TwipsScale Scale() const override;
    // What the window says to screen readers.
    [[nodiscard]] const Announcer& Announcements() const noexcept { return *announcer_; }
    // What sounds when an event fails; the desktop's beep unless replaced.
    void SetBeep(std::function<void()> beep) { beep_ = std::move(beep); }

private:
    // Gives a control what assistive technology needs beyond its caption: its label and, for an
    // option, the group it belongs to.
    void Describe(std::size_t index);
    // What assistive technology reads beside a control's caption (or the window's title) when
    // nothing is wrong with it.
    [[nodiscard]] QString OwnDescription(std::optional<std::size_t> target) const;
    void SetTabOrder();
    // Where the client area starts: below the window's own title bar, if it has one.
    [[nodiscard]] int ClientTop() const;
    void PaintAroundControls(QPainter& painter) const;

    [[nodiscard]] std::string ReadText(std::size_t box) const override;
    void WriteText(std::size_t box, std::string_view text) override;
    [[nodiscard]] bool ReadValue(std::size_t option) const override;
    void WriteCaption(std::size_t label, std::string_view caption) override;
    [[nodiscard]] PixelSize Natural(std::size_t control) const override;
    [[nodiscard]] int WrappedHeight(std::size_t control, int width) const override;
    void Place(std::size_t control, const PixelRect& rect) override;
    void SetClientSize(PixelSize client) override;
    void SetEnabled(std::size_t control, bool enabled) override;
    void Annotate(std::size_t control, std::string_view note) override;
    void Announce(std::string_view text, Announcement when) override;
    void ShowMark(std::optional<std::size_t> target, std::string_view why) override;
    void Beep() override;

    std::unique_ptr<QWidget> window_;
    std::vector<QWidget*> widgets_;  // in the design's order; each is owned by the window
    Announcer* announcer_ = nullptr; // owned by the window
    TitleBar* title_bar_ = nullptr;  // owned by the window
    QSize own_size_; // the size the layout asks for: the client area, and any title bar of its own
    std::function<void()> beep_;
};

} // namespace brindle::platform::qt
