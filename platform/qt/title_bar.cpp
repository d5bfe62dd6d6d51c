#include "platform/qt/title_bar.hpp"

#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <cstdint>
#include <string_view>
#include <wayland-client.h>

namespace brindle::platform::qt {

namespace {

constexpr int kPadding = 6;
constexpr int kIconSize = 16; // the program's icon at the size title bars show it

// Whether the compositor offers server-side title bars (KWin and sway do): Qt then asks for one,
// and draws none itself. Asked on a connection of our own, as Qt's is not public.
bool CompositorDecorates() {
    wl_display* const display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return true; // nothing to learn: Qt's own choice stands
    }
    bool offered = false;
    static constexpr wl_registry_listener listener = {
        .global =
            [](void* data, wl_registry* /*registry*/, std::uint32_t /*name*/, const char* interface,
               std::uint32_t /*version*/) {
                if (std::string_view(interface) == "zxdg_decoration_manager_v1") {
                    *static_cast<bool*>(data) = true;
                }
            },
        .global_remove = [](void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {},
    };
    wl_registry* const registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &offered);
    wl_display_roundtrip(display);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered;
}

} // namespace

bool NeedsOwnTitleBar() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
           !CompositorDecorates();
}

TitleBar::TitleBar(QWidget& window) : QWidget(&window), window_(window) {
    setObjectName(QStringLiteral("titleBar"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* const close = new QToolButton(this);
    close->setText(QStringLiteral("\u2715"));
    close->setAccessibleName(QStringLiteral("Close"));
    close->setToolTip(QStringLiteral("Close"));
    close->setAutoRaise(true);
    // Reached by the mouse, as a title bar's buttons are; the keyboard closes with the desktop's
    // own keys, and the window's tab order stays its controls'.
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QToolButton::clicked, &window_, &QWidget::close);
    close_ = close;
    window_.installEventFilter(this);
    setGeometry(0, 0, window_.width(), Height());
}

int TitleBar::Height() const {
    return fontMetrics().height() + 2 * kPadding;
}

QRect TitleBar::TitleRect() const {
    const int icon = window_.windowIcon().isNull() ? 0 : kIconSize + kPadding;
    return {kPadding + icon, 0, std::max(0, close_->x() - 2 * kPadding - icon), height()};
}

QString TitleBar::ShownTitle() const {
    return fontMetrics().elidedText(window_.windowTitle(), Qt::ElideRight, TitleRect().width());
}

bool TitleBar::eventFilter(QObject* /*watched*/, QEvent* event) {
    switch (event->type()) {
    case QEvent::Resize: {
        const int height = Height();
        setGeometry(0, 0, window_.width(), height);
        close_->setGeometry(width() - height, 0, height, height);
        break;
    }
    case QEvent::WindowTitleChange:
    case QEvent::WindowIconChange:
    case QEvent::ActivationChange:
        update();
        break;
    default:
        break;
    }
    return false;
}

void TitleBar::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QPalette::ColorGroup group =
        window_.isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    painter.fillRect(rect(), palette().color(group, QPalette::Button));
    painter.setPen(palette().color(group, QPalette::Mid));
    painter.drawLine(0, height() - 1, width(), height() - 1);
    if (!window_.windowIcon().isNull()) {
        window_.windowIcon().paint(&painter, kPadding, (height() - kIconSize) / 2, kIconSize,
                                   kIconSize);
    }
    painter.setPen(palette().color(group, QPalette::ButtonText));
    painter.drawText(TitleRect(), Qt::AlignLeft | Qt::AlignVCenter, ShownTitle());
}

void TitleBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && window_.windowHandle() != nullptr) {
        window_.windowHandle()->startSystemMove();
    }
}

} // namespace brindle::platform::qt
