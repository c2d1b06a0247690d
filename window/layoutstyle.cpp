#include "window/layoutstyle.h"

#include <QApplication>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionComplex>

namespace isd {

namespace {

class LayoutStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    // The lists are laid out for a classic dialog font and a slim drop-down
    // button; the button and the frame get that width, so that the longest
    // item ("ANA & FILTO") fits the narrow boxes on the diagram.
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl part, const QWidget *widget) const override
    {
        if (control != CC_ComboBox)
            return QProxyStyle::subControlRect(control, option, part, widget);
        constexpr int kButtonWidth = 14;
        constexpr int kFrame = 1;
        const QRect r = option->rect;
        QRect result;
        switch (part) {
        case SC_ComboBoxArrow:
            result = QRect(r.right() - kButtonWidth + 1, r.top(), kButtonWidth, r.height());
            break;
        case SC_ComboBoxEditField:
            result = QRect(r.left() + kFrame, r.top() + kFrame,
                           r.width() - kButtonWidth - 2 * kFrame, r.height() - 2 * kFrame);
            break;
        default:
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
        return visualRect(option->direction, r, result);
    }

    // Three boxes of the layout are 13 pixels high, lower than most styles'
    // square: the square then takes the box's height, at the box's top
    // left, instead of losing its bottom row.
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        const bool square = metric == PM_IndicatorWidth || metric == PM_IndicatorHeight;
        if (square && option && option->rect.height() > 0)
            return qMin(value, option->rect.height());
        return value;
    }
};

} // namespace

QStyle *layoutStyle()
{
    // A proxy made without a base style would take the desktop's style, not
    // the one the application set.
    const QString name = QApplication::style()->name();
    if (auto *made = qApp->findChild<LayoutStyle *>(name, Qt::FindDirectChildrenOnly))
        return made;
    QStyle *base = QStyleFactory::create(name);
    if (!base)
        return nullptr;
    auto *style = new LayoutStyle(base);
    style->setObjectName(name);
    style->setParent(qApp);
    return style;
}

} // namespace isd

#include "layoutstyle.moc"
