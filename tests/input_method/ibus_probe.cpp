// A window with one day box for a real input method (ibus) to type into, or with the toolkit's
// line edit when given "--line-edit", to compare. It prints the box's text whenever it changes and
// quits on Escape.

#include "platform/qt/text_box/bounded_line_edit.hpp"

#include <QApplication>
#include <QLineEdit>
#include <QShortcut>
#include <QWidget>
#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    const QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Brindle input method probe"));
    window.resize(240, 44);
    const auto print = [](const QString& text) { std::cout << text.toStdString() << std::endl; };
    QWidget* box = nullptr;
    if (argc > 1 && std::strcmp(argv[1], "--line-edit") == 0) {
        auto* const line_edit = new QLineEdit(&window);
        QObject::connect(line_edit, &QLineEdit::textChanged, print);
        box = line_edit;
    } else {
        auto* const text_box = new brindle::platform::qt::BoundedLineEdit(QString(), &window);
        QObject::connect(text_box, &brindle::platform::qt::BoundedLineEdit::textChanged, print);
        box = text_box;
    }
    box->setGeometry(10, 10, 220, 24);
    const QShortcut quit(QKeySequence(Qt::Key_Escape), &window, [] { QApplication::quit(); });
    window.show();
    box->setFocus();
    return QApplication::exec();
}
