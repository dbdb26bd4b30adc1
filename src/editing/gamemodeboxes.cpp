#include "gamemodeboxes.h"

#include "gamemodes.h"

#include "journal/journalstep.h"
#include "document/mapdocument.h"

#include <QCheckBox>
#include <QEvent>
#include <algorithm>

TGameModeBoxes::TGameModeBoxes(TMapDocument &document, const Boxes &mainBoxes, const Boxes &saveBoxes,
                               QObject *parent)
    : QObject(parent), m_document(document), m_main(mainBoxes), m_save(saveBoxes)
{
    for (const Boxes *set : {&m_main, &m_save})
        for (int i = 0; i < 6; ++i) {
            QCheckBox *box = (*set)[std::size_t(i)];
            // Moves without a button held count as well.
            box->setMouseTracking(true);
            box->installEventFilter(this);
            // The windows show the document's values with the boxes' signals
            // blocked, so a toggle here is the user's.
            connect(box, &QCheckBox::toggled, this, [this, i](bool on) { boxTicked(i, on); });
        }
}

void TGameModeBoxes::boxTicked(int index, bool on)
{
    TJournalStep step(m_document, QStringLiteral("Game types"));
    m_document.setGameType(false, index, on);
    m_document.setGameType(true, index, on);
}

void TGameModeBoxes::CheckBox1MouseMove(QCheckBox *sender)
{
    for (const auto &[own, other] : {std::pair{&m_main, &m_save}, std::pair{&m_save, &m_main}}) {
        const auto at = std::find(own->begin(), own->end(), sender);
        if (at == own->end())
            continue;
        // The boxes show the document's game types: the rule changes those.
        TJournalStep step(m_document, QStringLiteral("Game types"));
        const bool ownIsSave = own == &m_save;
        const THeaderState header = m_document.headerState();
        std::array<bool, 6> ownTypes = ownIsSave ? header.saveGameTypes : header.gameTypes;
        std::array<bool, 6> otherTypes = ownIsSave ? header.gameTypes : header.saveGameTypes;
        const std::array<bool, 6> allowed =
            allowedGameTypes(countStartPoints(m_document.Table, m_document.ObjectCount));
        for (int i = 0; i < 6; ++i)
            if (!allowed[i])
                ownTypes[i] = false;
        const auto index = at - own->begin();
        otherTypes[index] = ownTypes[index];
        m_document.setGameTypes(ownIsSave, ownTypes);
        m_document.setGameTypes(!ownIsSave, otherTypes);
        return;
    }
}

bool TGameModeBoxes::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        if (auto *box = qobject_cast<QCheckBox *>(watched))
            CheckBox1MouseMove(box);
    return QObject::eventFilter(watched, event);
}
