// Start-up of the desktop program: the recovery copies left by programs that ended
// without saving are offered, and damaged ones are reported and put aside.
#pragma once

class CMainFrame;
class CRecoveryPrompt;
class CRecoveryStore;

// Asks about the sound copies until the user recovers one (it becomes the model and this
// program's own copy), discards them all, or chooses Later. Damaged copies are moved to
// the store's damaged folder first and named in one message.
void OfferRecoveredWork(CMainFrame& frame, CRecoveryStore& store, CRecoveryPrompt& prompt);

// The same, with the copies looked for on another thread while the window is drawn (a
// folder of a thousand leftovers takes seconds to check); the user's input waits until
// the offer is made.
void OfferRecoveredWorkInBackground(CMainFrame& frame, CRecoveryStore& store, CRecoveryPrompt& prompt);
