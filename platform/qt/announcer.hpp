#pragma once

#include <QAccessibleInterface>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace brindle::platform::qt {

// How the window speaks to screen readers without taking the focus from where the user is
// typing. It is a widget that draws nothing, presented to assistive technology as a notification
// named by its message; each message shows it afresh, and Orca speaks a notification as it
// appears. (Qt 6.4 has no announcement event, and Orca does not read changes of a label or of a
// description elsewhere than at the focus.)
class Announcer final : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget& window);

    // Says `message` at once, dropping what was waiting.
    void SayNow(const QString& message);
    // Says `message` once nothing more is said for a pause, replacing what was waiting.
    void SayAfterPause(const QString& message);

    [[nodiscard]] const QString& Message() const noexcept { return message_; }
    [[nodiscard]] bool Waiting() const noexcept { return pause_.isActive(); }

private:
    void Show(const QString& message);

    QTimer pause_;
    QString waiting_;
    QString message_;
};

// Presents an Announcer to assistive technology; installed as an accessibility factory.
[[nodiscard]] QAccessibleInterface* AnnouncerAccessible(const QString& class_name, QObject* object);

} // namespace brindle::platform::qt
