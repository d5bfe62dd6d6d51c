#pragma once

#include <QAccessibleInterface>
#include <QString>

class QObject;

namespace brindle::platform::qt {

// What a screen reader sees of a text box: an editable text with its value, cursor, selection,
// characters on screen, and editing, as for any text field. Installed as an accessibility
// factory; answers only for text boxes.
[[nodiscard]] QAccessibleInterface* BoundedLineEditAccessible(const QString& class_name,
                                                              QObject* object);

} // namespace brindle::platform::qt
