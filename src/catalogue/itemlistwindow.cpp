#include "itemlistwindow.h"
#include "itemcatalogue.h"
#include "objectviewwindow.h"

#include "editing/findingrid.h"
#include "ui/itemdrag.h"
#include "ui/screenfit.h"
#include "ui/windowstyle.h"

#include <QApplication>
#include <QDrag>
#include <QFrame>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>

namespace {

template <class T> T *named(T *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, const QRect &place,
                    const QString &hint = QString())
{
    auto *b = named(new QPushButton(caption, parent), name);
    b->setGeometry(place);
    b->setToolTip(hint);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, int left, int top)
{
    auto *l = named(new QLabel(caption, parent), QLatin1String(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

} // namespace

TForm5::TForm5(TItemCatalogue &catalogue, QWidget *mainWindow)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                           | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_catalogue(catalogue), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("Form5"));
    // The font the window's places and sizes were laid out for.
    setFont(TWindowStyle::font());
    setWindowTitle(QStringLiteral("Item List"));
    setMinimumWidth(270);
    setMaximumWidth(270);
    resize(270, 667);

    static const char *const hints[] = {"Decorations", "Vehicles", "Buildings", "Objects",
                                        "People",      "Markers",  "Effects"};
    for (int i = 0; i < 7; ++i) {
        const QRect place = i < 4 ? QRect(7 + 40 * i, 3, 35, 18) : QRect(7 + 40 * (i - 4), 27, 35, 18);
        BitBtn[i] = button(this, QStringLiteral("BitBtn%1").arg(i + 1), QString::number((i + 1) * 1000), place,
                           QLatin1String(hints[i]));
    }
    B_ViewO = button(this, QStringLiteral("B_ViewO"), QStringLiteral("View"), QRect(127, 27, 35, 18),
                     QStringLiteral("View the item image, when the images installed."));
    B_search = button(this, QStringLiteral("B_search"), QStringLiteral("SEARCH"), QRect(171, 3, 83, 18));
    E_search = named(new QLineEdit(QStringLiteral("search"), this), QStringLiteral("E_search"));
    E_search->setGeometry(170, 25, 84, 21);

    Panel1 = named(new QFrame(this), QStringLiteral("Panel1"));
    Panel1->setGeometry(6, 48, 211, 25);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1 = label(Panel1, "Label1", QStringLiteral("Number"), 8, 6);
    Label2 = label(Panel1, "Label2", QStringLiteral("Name"), 56, 6);
    Button1 = button(this, QStringLiteral("Button1"), QStringLiteral("Use"), QRect(216, 48, 39, 25));
    Button1->setEnabled(false);

    ItemList = named(new QTableView(this), QStringLiteral("ItemList"));
    ItemList->setModel(&m_catalogue);
    ItemList->setGeometry(6, ListTop, 249, 565);
    ItemList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ItemList->setSelectionMode(QAbstractItemView::SingleSelection);
    ItemList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ItemList->verticalHeader()->hide();
    ItemList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ItemList->verticalHeader()->setDefaultSectionSize(18);
    ItemList->verticalHeader()->setMinimumSectionSize(18);
    ItemList->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ItemList->horizontalHeader()->setHighlightSections(false);
    ItemList->horizontalHeader()->setFixedHeight(18);
    ItemList->setColumnWidth(0, 53);
    ItemList->setColumnWidth(1, 173);
    // A row is picked when it becomes selected; the current row alone (which
    // the list sets when it is tabbed into) picks nothing.
    connect(ItemList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this](const QItemSelection &selected) { rowSelected(selected); });

    for (QPushButton *b : BitBtn)
        connect(b, &QPushButton::clicked, this, [this, b] { BitBtn1Click(b); });
    connect(B_search, &QPushButton::clicked, this, &TForm5::B_searchClick);
    connect(E_search, &QLineEdit::returnPressed, this, &TForm5::B_searchClick);
    connect(B_ViewO, &QPushButton::clicked, this, &TForm5::B_ViewOClick);
    connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
    // A double click anywhere in the list is Use: on a row, below the last
    // row and on the titles alike.
    ItemList->viewport()->installEventFilter(this);
    ItemList->horizontalHeader()->viewport()->installEventFilter(this);

    FormResize();
}

TItemListPlace TForm5::placeBeside(const QRect &mainFrame, const QSize &listFrame, int roomAfter,
                                   const QRect &screen)
{
    TItemListPlace place{mainFrame.topLeft(), QRect()};
    const int wanted = listFrame.width() + roomAfter;
    const int free = screen.right() - mainFrame.right();
    if (free < wanted)
        place.mainWindow.rx() -= qBound(0, wanted - free, mainFrame.left() - screen.left());
    const int left = qMin(place.mainWindow.x() + mainFrame.width(), screen.right() + 1 - listFrame.width());
    const int height = qMin(listFrame.height(), screen.height());
    const int top = qBound(screen.top(), mainFrame.top(), screen.bottom() + 1 - height);
    place.itemList = QRect(left, top, listFrame.width(), height);
    return place;
}

QPoint TForm5::objectViewPlace(const QRect &listFrame, const QSize &viewFrame, const QRect &screen)
{
    int left = listFrame.right() + 1;
    if (left + viewFrame.width() > screen.right() + 1 && listFrame.left() - viewFrame.width() >= screen.left())
        left = listFrame.left() - viewFrame.width();
    left = qBound(screen.left(), left, screen.right() + 1 - viewFrame.width());
    const int top = qBound(screen.top(), listFrame.top(), screen.bottom() + 1 - viewFrame.height());
    return QPoint(left, top);
}

void TForm5::showBeside(QWidget *mainWindow, int roomAfter)
{
    show();
    if (m_placed) {
        // Placed once: the list and the main window stay where the user has
        // put them since; the list only comes back onto the screen.
        TScreenFit::keepPlaced(
            this, [this] { move(TScreenFit::within(frameGeometry(), TScreenFit::availableArea(this))); });
        raise();
        return;
    }
    m_placed = true;
    TScreenFit::keepPlaced(this, [this, mainWindow, roomAfter] {
        const QRect own = frameGeometry();
        const TItemListPlace place =
            placeBeside(mainWindow->frameGeometry(), own.size(), roomAfter, TScreenFit::availableArea(mainWindow));
        if (place.mainWindow != mainWindow->frameGeometry().topLeft())
            mainWindow->move(place.mainWindow);
        if (place.itemList.height() != own.height())
            resize(width(), place.itemList.height() - (own.height() - height()));
        move(place.itemList.topLeft());
    }, {mainWindow});
    raise();
}

void TForm5::setObjectView(TForm7 *view)
{
    m_objectView = view;
}

void TForm5::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm5::FormResize()
{
    ItemList->resize(ItemList->width(), qMax(0, height() - ItemList->y() - 30));
}

void TForm5::rowSelected(const QItemSelection &selected)
{
    const QModelIndexList rows = selected.indexes();
    if (!rows.isEmpty())
        ItemListSelectCell(rows.first().row() + 1);
}

QMimeData *TForm5::itemDragDataFor(int row) const
{
    const QString number = m_catalogue.cell(0, row);
    if (number.isEmpty() || number == QLatin1String(TItemCatalogue::HeadingNumber))
        return nullptr;
    return itemDragData(number);
}

bool TForm5::eventFilter(QObject *watched, QEvent *event)
{
    // An item row pressed and moved with the left button held is carried
    // to the map window; the press itself picks the row as a click does.
    const QEvent::Type type = event->type();
    const bool mouseEvent =
        type == QEvent::MouseButtonPress || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease;
    if (watched == ItemList->viewport() && mouseEvent) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            m_pressAt = mouse->position().toPoint();
            const QModelIndex at = ItemList->indexAt(m_pressAt);
            m_pressRow = at.isValid() ? at.row() + 1 : 0;
        } else if (type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton) && m_pressRow > 0
                   && (mouse->position().toPoint() - m_pressAt).manhattanLength()
                       >= QApplication::startDragDistance()) {
            QMimeData *data = itemDragDataFor(m_pressRow);
            m_pressRow = 0;
            if (data) {
                auto *drag = new QDrag(ItemList);
                drag->setMimeData(data);
                drag->exec(Qt::CopyAction);
                return true;
            }
        } else if (type == QEvent::MouseButtonRelease) {
            m_pressRow = 0;
        }
    }
    // A double click before anything was picked has nothing to apply.
    if (event->type() == QEvent::MouseButtonDblClick
        && (watched == ItemList->viewport() || watched == ItemList->horizontalHeader()->viewport())
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && Button1->isEnabled())
        Button1Click();
    return QWidget::eventFilter(watched, event);
}

void TForm5::ItemListSelectCell(int row)
{
    const QString number = m_catalogue.cell(0, row);
    if (number == QLatin1String(TItemCatalogue::HeadingNumber))
        return;
    Label1->setText(number);
    Label1->adjustSize();
    Label2->setText(m_catalogue.cell(1, row));
    Label2->adjustSize();
    Button1->setEnabled(true);
    if (m_objectView && m_objectView->isVisible())
        m_objectView->ShowItemPicture(number);
    emit itemPicked(number);
}

void TForm5::Button1Click()
{
    emit useRequested();
}

bool TForm5::findAndPick(const QString &text)
{
    const QModelIndex current = ItemList->currentIndex();
    int row = current.isValid() ? current.row() + 1 : 0;
    int col = current.isValid() ? current.column() : 0;
    const TItemCatalogue &catalogue = m_catalogue;
    if (!FindInGrid(text, catalogue.RowCount(), catalogue.columnCount(),
                    [&catalogue](int c, int r) { return catalogue.cell(c, r); }, row, col))
        return false;
    ItemList->selectionModel()->setCurrentIndex(m_catalogue.index(row - 1, col),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return true;
}

void TForm5::BitBtn1Click(QPushButton *sender)
{
    if (findAndPick(sender->toolTip()))
        ItemList->scrollTo(ItemList->currentIndex(), QAbstractItemView::PositionAtTop);
}

void TForm5::B_searchClick()
{
    findAndPick(E_search->text());
}

void TForm5::B_ViewOClick()
{
    if (!m_objectView)
        return;
    if (m_objectView->isVisible()) {
        m_objectView->hide();
        return;
    }
    m_objectView->ShowItemPicture(Label1->text());
    // Directly right of the Item List, tops aligned, as long as the screen
    // has room there; placed again when its frame arrives.
    m_objectView->show();
    TScreenFit::keepPlaced(m_objectView, [this] {
        m_objectView->move(objectViewPlace(frameGeometry(), m_objectView->frameGeometry().size(),
                                           TScreenFit::availableArea(this)));
    }, {this});
}
