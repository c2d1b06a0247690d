#include "window/configwindow.h"

#include "editors/editor.h"
#include "model/cells.h"
#include "model/descriptions.h"
#include "model/registers.h"
#include "window/accessibility.h"
#include "window/controltable.h"
#include "window/diagramview.h"
#include "window/picklist.h"
#include "window/twips.h"

#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace isd {

namespace {

// The layout is made for an 8-point dialog font at 96 dots per inch: 11
// pixels high, with Arial-like widths so that the header words stand above
// their cells.
QFont dialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QFont linkFont()
{
    QFont font = dialogFont();
    font.setPixelSize(13);   // 9.75 points
    font.setBold(true);
    font.setUnderline(true);
    return font;
}

// Names and descriptions for screen readers, shown as tooltips as well: the
// editors' controls and the bit cells take theirs from the field table.
void describe(QWidget *widget, const ControlSpec &design)
{
    struct Texts {
        const char *name;
        const char *description;
    };
    static const QHash<QString, Texts> fixed{
        {"Label1", {"CFG0 register header", "Field names and bit numbers of CFG0, D15 to D0"}},
        {"Label2", {"CFG1 register header", "Field names and bit numbers of CFG1, D15 to D0"}},
        {"Label35", {"CFG0 hexadecimal word", "CFG0 as a hexadecimal word, D15-D0"}},
        {"Label36", {"CFG1 hexadecimal word", "CFG1 as a hexadecimal word, D15-D0"}},
        {"Picture1", {"Signal-path diagram",
                      "Block diagram of the chip's analog path; paths in use are drawn in red"}},
    };

    QString name;
    QString description;
    Register reg;
    int bit;
    if (const Field *f = fieldEditedBy(design.name)) {
        name = controlName(*f);
        description = controlDescription(*f);
    } else if (design.name.startsWith(QLatin1String("Label"))
               && bitOfCell(design.name.mid(5).toInt(), &reg, &bit)) {
        name = cellAccessibleName(reg, bit);
        description = cellDescription(reg, bit);
    } else if (fixed.contains(design.name)) {
        name = QString::fromLatin1(fixed[design.name].name);
        description = QString::fromLatin1(fixed[design.name].description);
    } else {
        return;
    }
    widget->setAccessibleName(name);
    widget->setAccessibleDescription(description);
    if (design.kind != ControlKind::Picture)
        widget->setToolTip(description);
}

QLabel *makeLabel(const ControlSpec &design, QWidget *parent)
{
    auto *label = design.kind == ControlKind::ValueLabel ? new ValueLabel(design.text, parent)
                                                       : new QLabel(design.text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    if (design.kind == ControlKind::LinkLabel) {
        label->setFont(linkFont());
        QPalette blue = label->palette();
        blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
        label->setPalette(blue);
    }
    return label;
}

} // namespace

ConfigWindow::ConfigWindow(QWidget *parent)
    : QWidget(parent)
{
    installAccessibility();
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Программа установки Конфигурационных бит для микросхемы ISD5116"));
    // Rendered from the SVG at whatever size the desktop asks for.
    setWindowIcon(QIcon(QStringLiteral(":/icon.svg")));
    setFont(dialogFont());
    setFixedSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));

    buildControls();
    setTabOrder();

    // Timer1 ticks once when the window opens and once after every change of
    // a cell; each tick recomputes both words from all 32 cells. An idle
    // window therefore costs nothing, and a change shows within a tick.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(1);
    connect(m_timer, &QTimer::timeout, this, &ConfigWindow::refreshWords);
    m_timer->start();

    // Only now, with every control in its design state, do the editors listen.
    connectEditors();
    m_diagram->setFocus();
}

void ConfigWindow::buildControls()
{
    // The picture box first: the controls inside it need their parent.
    const ControlSpec &pictureDesign = control(QStringLiteral("Picture1"));
    m_diagram = new DiagramView(this);
    m_diagram->setObjectName(pictureDesign.name);
    m_diagram->setGeometry(twipsToPixels(pictureDesign.left, pictureDesign.top, pictureDesign.width,
                                         pictureDesign.height));
    m_diagram->setFocusPolicy(Qt::StrongFocus);
    describe(m_diagram, pictureDesign);
    const QPoint inner = m_diagram->contentsRect().topLeft();

    for (const ControlSpec &design : controlTable()) {
        QWidget *parent = design.container == Container::Picture ? static_cast<QWidget *>(m_diagram) : this;
        QWidget *widget = nullptr;
        switch (design.kind) {
        case ControlKind::Picture:
            continue;
        case ControlKind::Label:
        case ControlKind::ValueLabel:
        case ControlKind::LinkLabel: {
            QLabel *label = makeLabel(design, parent);
            m_labels.insert(design.name, label);
            widget = label;
            break;
        }
        case ControlKind::CheckBox: {
            auto *box = new QCheckBox(parent);
            box->setChecked(design.checked);
            m_checkBoxes.insert(design.name, box);
            widget = box;
            break;
        }
        case ControlKind::List: {
            auto *list = new PickList(design.items, parent);
            m_lists.insert(design.name, list);
            widget = list;
            break;
        }
        }
        widget->setObjectName(design.name);
        describe(widget, design);
        QRect geometry = twipsToPixels(design.left, design.top, design.width, design.height);
        if (design.container == Container::Picture)
            geometry.translate(inner);
        widget->setGeometry(geometry);
    }
    // Labels lie under the picture box where they meet it, as on a dialog
    // whose labels are drawn on the window itself.
    m_diagram->raise();
}

void ConfigWindow::setTabOrder()
{
    std::vector<const ControlSpec *> order;
    for (const ControlSpec &design : controlTable()) {
        if (design.kind == ControlKind::Picture || design.kind == ControlKind::CheckBox
            || design.kind == ControlKind::List) {
            order.push_back(&design);
        }
    }
    std::sort(order.begin(), order.end(),
              [](const ControlSpec *a, const ControlSpec *b) { return a->tabIndex < b->tabIndex; });
    for (size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(findChild<QWidget *>(order[i - 1]->name),
                             findChild<QWidget *>(order[i]->name));
    }
}

void ConfigWindow::connectEditors()
{
    for (const EditorSet *set : allEditorSets()) {
        for (const CheckEditor &editor : set->checks) {
            // toggled, not clicked: it also comes when an assistive tool
            // toggles the box, and no code here ever sets a box.
            QCheckBox *box = m_checkBoxes.value(QString::fromLatin1(field(editor.field).editor));
            connect(box, &QCheckBox::toggled, this, [this, &editor] { runEditor(editor, *this); });
        }
        for (const ListEditor &editor : set->lists) {
            PickList *list = m_lists.value(QString::fromLatin1(field(editor.field).editor));
            connect(list, &PickList::picked, this, [this, &editor] { runEditor(editor, *this); });
        }
    }
}

void ConfigWindow::refreshWords()
{
    for (Register reg : kRegisters) {
        QStringList cells;
        for (int bit = kBitsPerRegister - 1; bit >= 0; --bit)
            cells << m_labels.value(cellName(reg, bit))->text();
        const QString wordLabel = reg == Register::CFG0 ? QStringLiteral("Label35") : QStringLiteral("Label36");
        valueLabel(wordLabel)->setValueText(wordText(wordValue(cells)));
    }
}

ValueLabel *ConfigWindow::valueLabel(const QString &name) const
{
    auto *label = qobject_cast<ValueLabel *>(m_labels.value(name));
    Q_ASSERT(label);
    return label;
}

bool ConfigWindow::isChecked(const QString &checkBox) const
{
    return m_checkBoxes.value(checkBox)->isChecked();
}

int ConfigWindow::selectedIndex(const QString &list) const
{
    return m_lists.value(list)->currentIndex();
}

void ConfigWindow::writeCell(int labelNumber, const QString &text)
{
    valueLabel(QStringLiteral("Label%1").arg(labelNumber))->setValueText(text);
    m_timer->start();
}

void ConfigWindow::setSegmentColour(int lineNumber, SegmentColour colour)
{
    m_diagram->setSegmentColour(lineNumber, colour);
}

} // namespace isd
