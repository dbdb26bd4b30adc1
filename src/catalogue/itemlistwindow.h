#pragma once
// TForm5: the Item List window. It shows the item catalogue, lets the user
// pick an item (shown in the two labels), jump to a category, search, show
// the picked item's picture in the Object View, and apply the item to the
// selected objects (Use, which the main window carries out). An item row
// dragged out of the list carries its item number to the map window.

#include <QRect>
#include <QWidget>
#include <array>

class QFrame;
class QItemSelection;
class QLabel;
class QLineEdit;
class QMimeData;
class QModelIndex;
class QPushButton;
class QTableView;
class TForm7;
class TItemCatalogue;

// Where the Item List goes beside the main window, and where the main window
// goes to make room for it (both outer frames, in screen coordinates).
struct TItemListPlace {
    QPoint mainWindow;
    QRect itemList;
};

class TForm5 : public QWidget {
    Q_OBJECT
public:
    // mainWindow is not the parent, so the list stays usable while the main
    // window is disabled.
    TForm5(TItemCatalogue &catalogue, QWidget *mainWindow);

    static constexpr int ListTop = 72;

    // The Item List's place beside the main window (mainFrame): to its right,
    // top edges level, with roomAfter pixels kept free to the list's right for
    // the Object View. Where the screen has not that much room right of the
    // main window, the main window moves left, at most to the screen's edge;
    // on a screen narrower than the main window and the list, the list keeps
    // to the screen's right edge, over the table's right end but never over
    // the map. The list is kept within the screen's height.
    static TItemListPlace placeBeside(const QRect &mainFrame, const QSize &listFrame, int roomAfter,
                                      const QRect &screen);
    // The Object View's top-left (outer frames, screen coordinates): directly
    // right of the list, tops aligned; where that would leave the screen, on
    // the list's left instead, and in any case within the screen.
    static QPoint objectViewPlace(const QRect &listFrame, const QSize &viewFrame, const QRect &screen);
    // Shows the list. The first showing puts it at placeBeside's place on
    // mainWindow's screen (moving mainWindow where that says so); later ones
    // leave both windows where they are, the list kept within its screen.
    // Load and the main window's "L" use it.
    void showBeside(QWidget *mainWindow, int roomAfter);

    // BitBtn1 .. BitBtn7 ("1000" .. "7000") at [0] .. [6].
    std::array<QPushButton *, 7> BitBtn{};
    QPushButton *B_ViewO;  // "View"
    QPushButton *B_search; // "SEARCH"
    QLineEdit *E_search;
    QFrame *Panel1;
    QLabel *Label1; // number of the picked item; "Number" until one is picked
    QLabel *Label2; // its name
    QPushButton *Button1; // "Use"
    QTableView *ItemList;

    // The Object View that View shows and hides; while it is shown it
    // follows the picked item.
    void setObjectView(TForm7 *view);

signals:
    // An item row was picked (not a heading): its number text.
    void itemPicked(const QString &numberText);
    // Use: the picked item goes into the object table's selected rows.
    void useRequested();

public slots:
    // The drag of catalogue row `row` onto the map: its number text, or
    // nothing for a heading or an empty row.
    QMimeData *itemDragDataFor(int row) const;

    // Picking catalogue row `row` (1-based, as the catalogue counts).
    void ItemListSelectCell(int row);
    // Use; also a double click anywhere in ItemList while Use is enabled.
    void Button1Click();
    // The category buttons: the next row holding the button's hint, scrolled to the top.
    void BitBtn1Click(QPushButton *sender);
    // SEARCH, and Enter in the search field.
    void B_searchClick();
    void B_ViewOClick();

protected:
    void resizeEvent(QResizeEvent *event) override; // FormResize
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormResize();
    void rowSelected(const QItemSelection &selected);
    // FindInGrid over the list from its current row; the found row becomes current.
    bool findAndPick(const QString &text);

    TItemCatalogue &m_catalogue;
    QWidget *m_mainWindow;
    TForm7 *m_objectView = nullptr;
    bool m_placed = false; // shown beside the main window once
    // A left press in the list: where, on which row; a drag starts from it.
    QPoint m_pressAt;
    int m_pressRow = 0;
};
