// The recovery copy of the main window's unsaved changes, and the windows'
// part of the restore at the start after a run that did not end normally.
#include "mainwindow.h"

#include "ui/dialogs.h"
#include "recovery/recoverykeeper.h"
#include "recovery/recoverystate.h"
#include "settings/infowindow.h"

void TForm1::startRecoveryCopies()
{
    Recovery = std::make_unique<TRecoveryKeeper>(Document.Journal,
                                                 [this] { return TRecoveryState::fromDocument(Document); });
    connect(Recovery.get(), &TRecoveryKeeper::writeFailed, this,
            [this](const QString &problem) { Form6->ShowInfoMessage(QStringLiteral("Attention!"), problem, QString()); });
}

void TForm1::restoreRecovered(const TRecoveryCopy &copy)
{
    RestoreRecovered(Document, *Recovery, copy, *this);
}

bool TForm1::loadForRestore(const QString &bmsPath, const TRecoveryState *fromCopy)
{
    m_openOnce = bmsPath;
    m_recovering = fromCopy;
    Button1Click();
    m_openOnce.clear();
    m_recovering = nullptr;
    return mapLoaded() && Document.BmsPath == bmsPath;
}

void TForm1::guarded(const std::function<void()> &command)
{
    runGuarded(m_dialogs, this, command);
}

void TForm1::restoreFailed(const QString &message)
{
    m_dialogs.showError(this, message);
}
