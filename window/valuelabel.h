#pragma once

#include <QLabel>

namespace isd {

// A bit cell or a hexadecimal word: a label whose text is a value. It has a
// class of its own so that the accessibility factory can tell it from the
// other labels.
class ValueLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    // Sets the text and tells assistive tools about the change: Qt tells
    // nothing for a label with an accessible name of its own.
    void setValueText(const QString &text);
};

} // namespace isd
