#pragma once
// At program start, before anything else: the files a killed write left
// incomplete are offered back as they were before that write. A write that
// had not begun or had ended leaves nothing to ask; its copy goes.

class QWidget;
class TDialogs;

void OfferLeftBehindWrites(TDialogs &dialogs, QWidget *parent);
