#pragma once

#include "editors/editortarget.h"

#include <QHash>
#include <QWidget>

class QCheckBox;
class QLabel;
class QTimer;

namespace isd {

class DiagramView;
class PickList;
class ValueLabel;

// The one window: register headers, the 32 bit cells, the two hexadecimal
// words and the picture box with the diagram and the editors' controls, all
// built from the control table. The controls are the only state: the cells
// hold the bits, the boxes and lists the user's settings, the segments their
// colours.
class ConfigWindow : public QWidget, private EditorTarget
{
    Q_OBJECT

public:
    explicit ConfigWindow(QWidget *parent = nullptr);

    DiagramView *diagram() const { return m_diagram; }

private:
    void buildControls();
    void setTabOrder();
    void connectEditors();
    // Timer1's tick: both words recomputed from all 32 cells.
    void refreshWords();
    // A bit cell or a hexadecimal word.
    ValueLabel *valueLabel(const QString &name) const;

    // EditorTarget
    bool isChecked(const QString &checkBox) const override;
    int selectedIndex(const QString &list) const override;
    void writeCell(int labelNumber, const QString &text) override;
    void setSegmentColour(int lineNumber, SegmentColour colour) override;

    DiagramView *m_diagram = nullptr;
    QTimer *m_timer = nullptr;
    QHash<QString, QLabel *> m_labels;
    QHash<QString, QCheckBox *> m_checkBoxes;
    QHash<QString, PickList *> m_lists;
};

} // namespace isd
