#pragma once
// TForm5: the Item List window. It shows the item catalogue, lets the user
// pick an item (shown in the two labels) and, later, jump to a category,
// search and apply the picked item to the selected objects.

#include <QWidget>
#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;
class TItemCatalogue;

class TForm5 : public QWidget {
    Q_OBJECT
public:
    // mainWindow is not the parent, so the list stays usable while the main
    // window is disabled.
    TForm5(TItemCatalogue &catalogue, QWidget *mainWindow);

    static constexpr int ListTop = 72;

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

signals:
    // An item row was picked (not a heading): its number text.
    void itemPicked(const QString &numberText);

public slots:
    // Picking catalogue row `row` (1-based, as the catalogue counts).
    void ItemListSelectCell(int row);

protected:
    void resizeEvent(QResizeEvent *event) override; // FormResize

private:
    void FormResize();
    void currentRowChanged(const QModelIndex &current);

    TItemCatalogue &m_catalogue;
    QWidget *m_mainWindow;
};
