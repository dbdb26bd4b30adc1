#pragma once
// TMapNameBox: the rules of the map-name box ComboBox2 and its "Del" button,
// kept apart from the widget so they can be tested; the main window's combo
// box mirrors items and selection from here.

#include "mapnamelist.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Whether "MPNAME" occurs in mapKey up to its first zero byte; a key without
// it names no entry, and the first name of the list is taken for the map.
bool MapKeyHasName(const QByteArray &mapKey);

class TMapNameBox {
public:
    QList<QByteArray> items;
    int selected = -1;               // ItemIndex; -1 for no selection
    QString TypedName;               // the box's text when the last key was pressed
    int RememberedNameIndex = -1;    // last committed selection

    // Read map-name list, steps 4 to 8: fills the items and selects the
    // entry MapKey names. Returns true when MapKey lacks "MPNAME" (the
    // caller shows the "Attention!" message; the first entry is selected).
    bool fill(const QList<QByteArray> &names, const QByteArray &mapKey);

    void clear();

    // ComboBox2KeyDown: currentText is the box's text; enter whether the key is Enter.
    void keyDown(bool enter, const QString &currentText);
    // ComboBox2Click: the user picked entry index.
    void click(int index);
    // ComboBox2Exit: the box lost the focus.
    void exit();
    // B_delmpnameClick.
    void deleteSelected();

    // The text the box shows for its selection.
    QString selectedText() const;

private:
    void select(int index);
};
