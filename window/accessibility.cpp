#include "window/accessibility.h"

#include "model/descriptions.h"
#include "window/controltable.h"
#include "window/diagramview.h"
#include "window/fixedlayoutframe.h"

#include <QAccessible>
#include <QAccessibleWidget>

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

// Chosen by type, not by class name, so that renaming a class cannot
// silently drop its role.
QAccessibleInterface *accessibleFactory(const QString &, QObject *object)
{
    // A scroll area is a "filler" to assistive tools; screen readers look
    // for a frame as the application's top level, which the window is.
    if (auto *window = qobject_cast<FixedLayoutFrame *>(object))
        return new QAccessibleWidget(window, QAccessible::Window);
    // A QFrame would be a frame too, and a screen reader would take the
    // picture box for a window of its own and never review the registers
    // outside it.
    if (auto *diagram = qobject_cast<DiagramView *>(object))
        return new QAccessibleWidget(diagram, QAccessible::Graphic);
    if (auto *label = qobject_cast<ValueLabel *>(object))
        return new ValueLabelAccessible(label);
    if (auto *announcer = qobject_cast<Announcer *>(object))
        return new QAccessibleWidget(announcer, QAccessible::StatusBar);
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

// The one place that chooses how announcements travel.
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#    define ISD5116_QT_ANNOUNCES 1
#else
#    define ISD5116_QT_ANNOUNCES 0
#endif

Announcer::Announcer(QWidget *window)
    : QWidget(window)
{
    if (!ISD5116_QT_ANNOUNCES)
        m_notice = new Notice(this);
    hide();
}

void Announcer::announce(const QString &text)
{
    if (!QAccessible::isActive())
        return;
#if ISD5116_QT_ANNOUNCES
    // Said by the window, which screen readers know, not by the hidden
    // announcer.
    QAccessibleAnnouncementEvent said(parentWidget(), text);
    QAccessible::updateAccessibility(&said);
#else
    m_notice->text = text;
    QAccessibleEvent renamed(m_notice, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent shown(m_notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
#endif
}

ScreenReaderTexts screenReaderTexts(const ControlSpec &design)
{
    const Register reg = design.reg;
    switch (design.kind) {
    case ControlKind::CheckBox:
    case ControlKind::List:
        return {controlName(field(design.field)), controlDescription(field(design.field))};
    case ControlKind::Cell:
        return {cellAccessibleName(reg, design.bit), cellDescription(reg, design.bit)};
    case ControlKind::Word:
        return {wordAccessibleName(reg), wordDescription(reg)};
    case ControlKind::Header:
        return {headerAccessibleName(reg), headerDescription(reg)};
    case ControlKind::Picture:
        return {diagramAccessibleName(), diagramDescription()};
    case ControlKind::Link:
        break;
    }
    return {};
}

ValueLabel::Speech spokenValue(const ControlSpec &design)
{
    if (design.kind == ControlKind::Cell)
        return [reg = design.reg, bit = design.bit](const QString &shown) { return cellSpokenName(reg, bit, shown); };
    return [reg = design.reg](const QString &shown) { return wordSpokenName(reg, shown); };
}

} // namespace isd
