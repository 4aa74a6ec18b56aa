// The keyboard's way around the window: the keys between the panel and
// the month grid.
#include "app/OVA_Window.h"

#include "app/PanelFocus.h"
#include "controls/TDView.h"
#include "views/MonView.h"

bool OVA_Window::KeysInGrid() const
{
  return fMainMon && fMainMon->IsFocus();
}

void OVA_Window::GiveKeysToGrid()
{
  if (!fPanel)
    return;
  Lock();
  // The grid sets the panel's day: the day field carries the mark and the
  // month shows in the clock's place.
  fPanel->SetFocusOn(nullptr, kFocusDay);
  if (fMainMon && !fMainMon->IsHidden())
    fMainMon->MakeFocus(true);
  Unlock();
}

void OVA_Window::SwitchKeys()
{
  if (!KeysInGrid()) {
    GiveKeysToGrid();
  } else if (fPanel) {
    Lock();
    fPanel->SetFocusOn(nullptr, kFocusDay);
    Unlock();
  }
}
