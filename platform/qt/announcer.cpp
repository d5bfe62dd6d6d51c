#include "platform/qt/announcer.hpp"

#include "platform/window_core.hpp"

#include <QAccessibleWidget>

namespace brindle::platform::qt {

Announcer::Announcer(QWidget& window) : QWidget(&window) {
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
    pause_.setSingleShot(true);
    pause_.setInterval(kAnnouncementPause);
    QObject::connect(&pause_, &QTimer::timeout, this, [this] { Show(waiting_); });
}

void Announcer::SayNow(const QString& message) {
    pause_.stop();
    Show(message);
}

void Announcer::SayAfterPause(const QString& message) {
    waiting_ = message;
    pause_.start();
}

void Announcer::Show(const QString& message) {
    hide();
    message_ = message;
    setAccessibleName(message);
    show();
}

namespace {

class Accessible final : public QAccessibleWidget {
public:
    explicit Accessible(Announcer& announcer)
        : QAccessibleWidget(&announcer, QAccessible::Notification) {}

    [[nodiscard]] QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) {
            return qobject_cast<Announcer*>(object())->Message();
        }
        return QAccessibleWidget::text(kind);
    }
};

} // namespace

QAccessibleInterface* AnnouncerAccessible(const QString& /*class_name*/, QObject* object) {
    if (auto* const announcer = qobject_cast<Announcer*>(object)) {
        return new Accessible(*announcer);
    }
    return nullptr;
}

} // namespace brindle::platform::qt
