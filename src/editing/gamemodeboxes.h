#pragma once
// TGameModeBoxes: the two sets of six game-type boxes, the main window's and
// the Save Map dialog's. Whenever the pointer moves over a box of either set,
// that set unticks the types its start points do not allow, and the box under
// the pointer hands its state to the other set's box of the same number.
// A box ticked or unticked by the user (a click, Space) hands its new state
// over at once, so what the dialog shows is what a save writes.

#include <QObject>
#include <array>

class QCheckBox;
class TMapDocument;

class TGameModeBoxes : public QObject {
    Q_OBJECT
public:
    using Boxes = std::array<QCheckBox *, 6>;

    // Watches the pointer over both sets (CheckBox1 .. CheckBox6 at [0] .. [5]).
    TGameModeBoxes(TMapDocument &document, const Boxes &mainBoxes, const Boxes &saveBoxes,
                   QObject *parent);

    // The check for the box under the pointer, in whichever set it is.
    void CheckBox1MouseMove(QCheckBox *sender);
    // Box index of either set now shows on: both sets' boxes of that number
    // take it, as one step.
    void boxTicked(int index, bool on);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TMapDocument &m_document;
    Boxes m_main;
    Boxes m_save;
};
