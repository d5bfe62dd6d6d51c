#pragma once

#include <QString>
#include <QWidget>

class QAbstractButton;

namespace brindle::platform::qt {

// Whether the window draws a title bar of its own: on a Wayland compositor that draws none for
// its clients and offers no server-side title bars (weston; mutter where there is no XWayland).
// Qt 6.4 would draw one there with a maximise button on a window of fixed size, and the title
// centred over the whole bar and cut off at both ends.
bool NeedsOwnTitleBar();

// The window's own title bar, across the top of the window: the icon, the title cut off at its
// end where it does not fit, and a close button. Dragging it moves the window, as the compositor
// moves it; there is no maximise, as the window keeps its size.
class TitleBar final : public QWidget {
public:
    explicit TitleBar(QWidget& window);

    // The height it takes from the top of the window.
    [[nodiscard]] int Height() const;
    // The title as it is drawn, cut off where it does not fit.
    [[nodiscard]] QString ShownTitle() const;
    [[nodiscard]] QAbstractButton& CloseButton() const noexcept { return *close_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    [[nodiscard]] QRect TitleRect() const;

    QWidget& window_;
    QAbstractButton* close_ = nullptr; // owned by this bar
};

} // namespace brindle::platform::qt
