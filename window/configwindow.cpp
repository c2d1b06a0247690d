#include "window/configwindow.h"

#include "editors/editor.h"
#include "model/cells.h"
#include "window/accessibility.h"
#include "window/controltable.h"
#include "window/diagramview.h"
#include "window/dialogfont.h"
#include "window/layoutstyle.h"
#include "window/paperpalette.h"
#include "window/picklist.h"
#include "window/pictures.h"
#include "window/twips.h"
#include "window/valuelabel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <algorithm>

namespace isd {

namespace {

// A label of the kind given (a plain QLabel or a ValueLabel) showing its
// design text as written, at its top left, on the window's colour.
template <typename Label>
Label *makeLabel(const ControlSpec &design, QWidget *parent)
{
    auto *label = new Label(design.text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setAutoFillBackground(true);
    return label;
}

// Qt names an editable list on Linux by its text, and takes the list's name
// for screen readers from a labelling relation only: a hidden label gives it.
void labelForScreenReaders(PickList *list, const QString &name)
{
    auto *label = new QLabel(name, list->parentWidget());
    label->setTextFormat(Qt::PlainText);
    label->setBuddy(list);
    label->hide();
    // The popup too, which a screen reader names as it opens.
    list->view()->setAccessibleName(name);
}

} // namespace

ConfigWindow::ConfigWindow(QWidget *parent)
    : FixedLayoutFrame(QSize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips)), parent)
{
    setObjectName(QLatin1String(kWindowName));
    setWindowTitle(QStringLiteral("Программа установки Конфигурационных бит для микросхемы ISD5116"));
    setWindowIcon(programIcon());
    setFont(dialogFont());
    // Before the picture box exists, which starts rendering its picture over
    // this colour at once; set later, the picture is rendered twice.
    setPalette(paperPalette(QApplication::palette()));

    buildControls();
    applyTabOrder();
    m_announcer = new Announcer(this);

    // The timer ticks once when the window opens and once after every change
    // of a cell; each tick recomputes both words from all 32 cells. An idle
    // window therefore costs nothing, and a change shows within a tick.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QLatin1String(kTimerName));
    m_timer->setSingleShot(true);
    m_timer->setInterval(1);
    connect(m_timer, &QTimer::timeout, this, &ConfigWindow::refreshWords);
    m_timer->start();

    // The controls took their design state as they were made: the editors
    // listen from now on, so that opening the window runs none of them.
    connectEditors();
    m_diagram->setFocus();
}

void ConfigWindow::buildControls()
{
    // The controls inside the picture box after the picture box, their parent.
    for (Container container : {Container::Window, Container::Picture}) {
        for (const ControlSpec &design : controlTable()) {
            if (design.container == container)
                makeControl(design);
        }
    }
    // Labels lie under the picture box where they meet it, as on a dialog
    // whose labels are drawn on the window itself.
    m_diagram->raise();
}

void ConfigWindow::makeControl(const ControlSpec &design)
{
    QWidget *parent = design.container == Container::Picture ? m_diagram : surface();
    QWidget *widget = nullptr;
    switch (design.kind) {
    case ControlKind::Picture:
        m_diagram = new DiagramView(parent);
        m_diagram->setFocusPolicy(Qt::StrongFocus);
        widget = m_diagram;
        break;
    case ControlKind::Header:
        widget = makeLabel<QLabel>(design, parent);
        break;
    case ControlKind::Link:
        widget = makeLabel<QLabel>(design, parent);
        styleAsLink(widget);
        break;
    case ControlKind::Cell:
    case ControlKind::Word: {
        auto *label = makeLabel<ValueLabel>(design, parent);
        label->setSpeech(spokenValue(design));
        const size_t reg = size_t(design.reg);
        if (design.kind == ControlKind::Cell)
            m_cells[reg][size_t(design.bit)] = label;
        else
            m_words[reg] = label;
        widget = label;
        break;
    }
    case ControlKind::CheckBox: {
        auto *box = new QCheckBox(parent);
        if (QStyle *style = layoutStyle())
            box->setStyle(style);
        box->setChecked(design.checked);
        m_boxes[size_t(design.field)] = box;
        widget = box;
        break;
    }
    case ControlKind::List: {
        auto *list = new PickList(design.items, parent);
        labelForScreenReaders(list, screenReaderTexts(design).name);
        m_lists[size_t(design.field)] = list;
        widget = list;
        break;
    }
    }
    widget->setObjectName(design.name);
    const ScreenReaderTexts texts = screenReaderTexts(design);
    widget->setAccessibleName(texts.name);
    widget->setAccessibleDescription(texts.description);
    // The description is the tooltip too, but not over the diagram, which a
    // tooltip would cover wherever the mouse rests.
    if (design.kind != ControlKind::Picture)
        widget->setToolTip(texts.description);
    QRect geometry = twipsToPixels(design.left, design.top, design.width, design.height);
    if (design.container == Container::Picture)
        geometry.translate(m_diagram->contentsRect().topLeft());
    widget->setGeometry(geometry);
}

bool ConfigWindow::event(QEvent *event)
{
    // The desktop switched its colour scheme while the window is open.
    if (event->type() == QEvent::ApplicationPaletteChange)
        setPalette(paperPalette(QApplication::palette()));
    return FixedLayoutFrame::event(event);
}

void ConfigWindow::applyTabOrder()
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
            QCheckBox *box = m_boxes[size_t(editor.field)];
            connect(box, &QCheckBox::toggled, this, [this, &editor] {
                runEditor(editor, *this);
                announceWordAfterRefresh(editor.field);
            });
        }
        for (const ListEditor &editor : set->lists) {
            PickList *list = m_lists[size_t(editor.field)];
            connect(list, &PickList::picked, this, [this, &editor] {
                runEditor(editor, *this);
                announceWordAfterRefresh(editor.field);
            });
        }
    }
}

void ConfigWindow::refreshWords()
{
    for (Register reg : kRegisters) {
        QStringList cells;
        for (int bit = kBitsPerRegister - 1; bit >= 0; --bit)
            cells << m_cells[size_t(reg)][size_t(bit)]->text();
        m_words[size_t(reg)]->setValueText(wordText(wordValue(cells)));
    }
    if (m_editedRegister) {
        const ValueLabel *word = m_words[size_t(*m_editedRegister)];
        m_announcer->announce(word->spokenName());
        m_editedRegister.reset();
    }
}

void ConfigWindow::announceWordAfterRefresh(FieldId edited)
{
    m_editedRegister = field(edited).reg;
    m_timer->start();
}

bool ConfigWindow::isChecked(FieldId box) const
{
    return m_boxes[size_t(box)]->isChecked();
}

int ConfigWindow::selectedIndex(FieldId list) const
{
    return m_lists[size_t(list)]->currentIndex();
}

void ConfigWindow::writeCell(Register reg, int bit, const QString &text)
{
    m_cells[size_t(reg)][size_t(bit)]->setValueText(text);
    m_timer->start();
}

void ConfigWindow::setSegmentLit(int line, bool lit)
{
    m_diagram->setSegmentColour(line, lit ? SegmentColour::Highlight : SegmentColour::Idle);
}

} // namespace isd
