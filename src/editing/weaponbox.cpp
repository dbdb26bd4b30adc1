#include "weaponbox.h"

#include "objectgrid.h"
#include "tableediting.h"
#include "weapons.h"

#include "ui/dialogs.h"
#include "journal/journalstep.h"
#include "document/mapdocument.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QSignalBlocker>

TWeaponBox::TWeaponBox(QComboBox *box, TMapDocument &document, TObjectGrid &grid, TTableEditing &editing,
                       TDialogs &dialogs, QWidget *host)
    : QObject(host), m_box(box), m_document(document), m_grid(grid), m_editing(editing), m_dialogs(dialogs),
      m_host(host)
{
    m_box->clear();
    for (const TWeapon &w : Weapons)
        m_box->addItem(QString::fromLatin1(w.caption), w.code);
    m_box->installEventFilter(this);
    connect(&grid, &TObjectGrid::gridDoubleClicked, this, &TWeaponBox::StringGrid1DblClick);
    connect(m_box, &QComboBox::activated, this, &TWeaponBox::ComboBox3Change);
}

void TWeaponBox::StringGrid1DblClick()
{
    if (m_grid.currentCol() != TObjectTable::ColWeapon)
        return;
    m_box->show();
    m_box->raise();
    m_box->setFocus(Qt::OtherFocusReason);
    // Without an active window the box gets no focus event; it opens all the same.
    if (!m_box->hasFocus())
        ComboBox3Enter();
}

void TWeaponBox::ComboBox3Enter()
{
    const int row = m_grid.currentRow();
    const int col = m_grid.currentCol();
    if (row < 1 || col < 0)
        return;
    m_box->setGeometry(m_grid.cellRect(col, row, m_box->parentWidget()));
    runGuarded(m_dialogs, m_host, [&] {
        const std::int32_t code = m_document.Table.cellValue(TObjectTable::ColWeapon, row);
        // A code without an entry leaves the previous choice showing.
        const int entry = weaponEntryForCode(code);
        if (entry >= 0) {
            const QSignalBlocker block(m_box);
            m_box->setCurrentIndex(entry);
        }
    });
}

void TWeaponBox::ComboBox3Change(int entry)
{
    const int row = m_grid.currentRow();
    if (row < 1 || entry < 0 || entry >= int(Weapons.size()))
        return;
    TJournalStep step(m_document, QStringLiteral("Choose weapon"));
    m_document.Table.setCell(TObjectTable::ColWeapon, row, QString::number(Weapons[entry].code));
    runGuarded(m_dialogs, m_host, [&] { m_editing.RangeFill(TObjectTable::ColWeapon, row); });
}

bool TWeaponBox::eventFilter(QObject *watched, QEvent *event)
{
    // The list's own popup hands the focus back when it closes; that is no new entry.
    if (watched == m_box && event->type() == QEvent::FocusIn
        && static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        ComboBox3Enter();
    return QObject::eventFilter(watched, event);
}
