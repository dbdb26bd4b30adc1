#pragma once
// At program start, before any window: the unsaved changes a killed or
// crashed run left in the recovery folder are offered back. A copy that
// cannot be read is reported and kept aside; a copy the user discards goes.

#include "recovery/recoverycopy.h"

#include <optional>

class QWidget;
class TDialogs;

// The copy the user wants restored, if any. Copies after it stay for the
// next start: one window restores one map.
std::optional<TRecoveryCopy> OfferRecoveryCopies(TDialogs &dialogs, QWidget *parent);
