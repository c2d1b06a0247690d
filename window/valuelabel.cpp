#include "window/valuelabel.h"

#include <QAccessible>

namespace isd {

void ValueLabel::setValueText(const QString &newText)
{
    const QString oldText = text();
    if (newText == oldText)
        return;
    setText(newText);
    QAccessibleTextUpdateEvent textEvent(this, 0, oldText, newText);
    QAccessible::updateAccessibility(&textEvent);
    QAccessibleEvent nameEvent(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameEvent);
}

} // namespace isd
