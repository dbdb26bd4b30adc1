#include "lookupfeedback.h"

#include <QApplication>
#include <QProgressDialog>

#ifdef Q_OS_WIN
const char *const TLookupFeedback::Text = "Looking up the short paths of the game's files...";
#else
const char *const TLookupFeedback::Text = "Looking up the game's paths with Wine...";
#endif

TLookupFeedback::TLookupFeedback(QWidget *parent) : m_parent(parent)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_delay.setSingleShot(true);
    connect(&m_delay, &QTimer::timeout, this, &TLookupFeedback::showDialog);
    m_delay.start(DialogDelayMs);
}

TLookupFeedback::~TLookupFeedback()
{
    m_dialog.reset();
    QApplication::restoreOverrideCursor();
}

void TLookupFeedback::showDialog()
{
    m_dialog = std::make_unique<QProgressDialog>(QString::fromLatin1(Text), QString(), 0, 0, m_parent);
    m_dialog->setObjectName(QStringLiteral("lookupProgress"));
    m_dialog->setWindowTitle(QStringLiteral("Saving"));
    m_dialog->setCancelButton(nullptr);
    m_dialog->setMinimumDuration(0);
    m_dialog->show();
    m_dialog->raise();
}

TShortPaths TLookupFeedback::around(QWidget *parent, TShortPaths lookup)
{
    return [parent, lookup = std::move(lookup)](const std::vector<std::string> &paths) {
        const TLookupFeedback feedback(parent);
        return lookup(paths);
    };
}
