#pragma once

#include "editors/editortarget.h"
#include "model/fields.h"
#include "model/registers.h"
#include "window/fixedlayoutframe.h"

#include <array>
#include <optional>

class QCheckBox;
class QTimer;

namespace isd {

class Announcer;
class DiagramView;
class PickList;
class ValueLabel;
struct ControlSpec;

// The one window: register headers, the 32 bit cells, the two hexadecimal
// words and the picture box with the diagram and the editors' controls, all
// built from the control table. The controls are the only state: the cells
// hold the bits, the boxes and lists the user's settings, the segments their
// colours.
class ConfigWindow : public FixedLayoutFrame, private EditorTarget
{
    Q_OBJECT

public:
    explicit ConfigWindow(QWidget *parent = nullptr);

    DiagramView *diagram() const { return m_diagram; }

protected:
    bool event(QEvent *event) override;

private:
    void buildControls();
    void makeControl(const ControlSpec &design);
    void applyTabOrder();
    void connectEditors();
    // The timer's tick: both words recomputed from all 32 cells; the word of an
    // edited register is then announced to screen readers.
    void refreshWords();
    // After every toggle or pick, even one that changes no bit, so that the
    // user hears the edit's outcome without leaving the control.
    void announceWordAfterRefresh(FieldId edited);

    // EditorTarget
    bool isChecked(FieldId box) const override;
    int selectedIndex(FieldId list) const override;
    void writeCell(Register reg, int bit, const QString &text) override;
    void setSegmentLit(int line, bool lit) override;

    DiagramView *m_diagram = nullptr;
    QTimer *m_timer = nullptr;
    Announcer *m_announcer = nullptr;
    std::optional<Register> m_editedRegister;
    // By register (CFG0 first), then by bit.
    std::array<std::array<ValueLabel *, kBitsPerRegister>, kRegisterCount> m_cells{};
    std::array<ValueLabel *, kRegisterCount> m_words{};
    // By field; nullptr where the field is set by the other kind of control.
    std::array<QCheckBox *, kFieldCount> m_boxes{};
    std::array<PickList *, kFieldCount> m_lists{};
};

} // namespace isd
