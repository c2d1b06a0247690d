#include "window/valuelabel.h"

#include <QAccessible>

namespace isd {

void ValueLabel::setValueText(const QString &newText)
{
    const QString oldText = text();
    if (newText == oldText)
        return;
    setText(newText);
    QAccessibleTextUpdateEvent event(this, 0, oldText, newText);
    QAccessible::updateAccessibility(&event);
}

} // namespace isd
