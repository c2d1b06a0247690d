#include "window/accessibility.h"

#include "model/descriptions.h"
#include "window/controltable.h"
#include "window/valuelabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>

namespace isd {

// The text an Announcer says, as the name of a hidden notification.
class Notice : public QWidget
{
public:
    using QWidget::QWidget;
    QString text;
};

namespace {

class NoticeAccessible : public QAccessibleWidget
{
public:
    explicit NoticeAccessible(Notice *notice)
        : QAccessibleWidget(notice, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const Notice *>(widget())->text : QAccessibleWidget::text(t);
    }
};

// Named with its value and its meaning; read-only text without caret or
// selection: the label's text.
class ValueLabelAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit ValueLabelAccessible(ValueLabel *label)
        : QAccessibleWidget(label, QAccessible::StaticText)
    {
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name:
            return label()->spokenName();
        case QAccessible::Value:
            return value();
        default:
            return QAccessibleWidget::text(t);
        }
    }

    // QAccessibleTextInterface
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = value();
        if (endOffset < 0 || endOffset > all.size())
            endOffset = int(all.size());
        if (startOffset < 0 || startOffset >= endOffset)
            return {};
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(value().size()); }
    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint &) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    const ValueLabel *label() const { return static_cast<const ValueLabel *>(widget()); }
    QString value() const { return label()->text(); }
};

QAccessibleInterface *accessibleFactory(const QString &className, QObject *object)
{
    // A plain QWidget is a "filler" to assistive tools; screen readers look
    // for a frame as the application's top level.
    if (className == QLatin1String("isd::ConfigWindow"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Window);
    // A QFrame would be a frame too, and a screen reader would take the
    // picture box for a window of its own and never review the registers
    // outside it.
    if (className == QLatin1String("isd::DiagramView"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Graphic);
    if (className == QLatin1String("isd::ValueLabel"))
        return new ValueLabelAccessible(static_cast<ValueLabel *>(object));
    if (className == QLatin1String("isd::Announcer"))
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::StatusBar);
    if (auto *notice = dynamic_cast<Notice *>(object))
        return new NoticeAccessible(notice);
    return nullptr;
}

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void labelForScreenReaders(QWidget *control, const QString &name)
{
    auto *label = new QLabel(name, control->parentWidget());
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(control);
    label->hide();
    // The popup too, which a screen reader names as it opens.
    if (auto *list = qobject_cast<QComboBox *>(control))
        list->view()->setAccessibleName(name);
}

Announcer::Announcer(QWidget *window)
    : QWidget(window)
    , m_notice(new Notice(this))
{
    hide();
}

void Announcer::announce(const QString &text)
{
    if (!QAccessible::isActive())
        return;
    m_notice->text = text;
    QAccessibleEvent renamed(m_notice, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent shown(m_notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void describe(QWidget *widget, const ControlSpec &design)
{
    QString name;
    QString description;
    const Register reg = design.reg;
    const int bit = design.bit;
    switch (design.kind) {
    case ControlKind::CheckBox:
    case ControlKind::List:
        name = controlName(field(design.field));
        description = controlDescription(field(design.field));
        if (design.kind == ControlKind::List)
            labelForScreenReaders(widget, name);
        break;
    case ControlKind::Cell:
        name = cellAccessibleName(reg, bit);
        description = cellDescription(reg, bit);
        static_cast<ValueLabel *>(widget)->setSpeech(
            [reg, bit](const QString &shown) { return cellSpokenName(reg, bit, shown); });
        break;
    case ControlKind::Word:
        name = wordAccessibleName(reg);
        description = wordDescription(reg);
        static_cast<ValueLabel *>(widget)->setSpeech(
            [reg](const QString &shown) { return wordSpokenName(reg, shown); });
        break;
    case ControlKind::Header:
        name = headerAccessibleName(reg);
        description = headerDescription(reg);
        break;
    case ControlKind::Picture:
        widget->setAccessibleName(diagramAccessibleName());
        widget->setAccessibleDescription(diagramDescription());
        return;
    case ControlKind::Link:
        return;
    }
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
    widget->setToolTip(description);
}

} // namespace isd
