#pragma once

#include <QLabel>
#include <functional>

namespace isd {

// A bit cell or a hexadecimal word: a label whose text is a value. It has a
// class of its own so that the accessibility factory can tell it from the
// other labels.
class ValueLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    // What a screen reader is to say for the label's text, e.g. "AXG1, CFG0
    // D12: 1"; by default the text alone.
    using Speech = std::function<QString(const QString &shown)>;
    void setSpeech(Speech speech) { m_speech = std::move(speech); }
    QString spokenName() const { return m_speech ? m_speech(text()) : text(); }

    // Sets the text and tells assistive tools about the change of the text
    // and of the spoken name: Qt tells nothing for a label with an accessible
    // name of its own.
    void setValueText(const QString &text);

private:
    Speech m_speech;
};

} // namespace isd
