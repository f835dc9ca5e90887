#pragma once

#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QWidget>

// Building blocks of the windows, which are laid out at fixed positions as designed.
namespace DesignWidgets {

// The forms were designed in an 8-point Arial; Liberation Sans has the same metrics.
inline QFont font(bool bold = false) {
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    f.setPointSize(8);
    f.setBold(bold);
    return f;
}

// A child widget with its control name and designed geometry.
template <class W> W* make(QWidget* parent, const char* name, QRect geometry) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

// A field that cannot be typed in is drawn on the window colour, as the platform draws
// read-only fields, so that it does not look editable.
inline void setReadOnly(QLineEdit* edit, bool readOnly) {
    edit->setReadOnly(readOnly);
    const QPalette standard = QApplication::palette(edit);
    const QBrush base = readOnly ? standard.window() : standard.base();
    if (edit->palette().brush(QPalette::Base) == base)
        return;
    QPalette p = edit->palette();
    p.setBrush(QPalette::Base, base);
    edit->setPalette(p);
}

} // namespace DesignWidgets
