// The enabling table of the main window's commands.
#include "app/ui/control_states.h"

namespace edb {

ControlStates InitialControls() { return ControlStates{}; }

ControlStates AfterBrowseConfirmed(ControlStates states) {
  states.scan_file = true;
  states.stop = true;
  return states;
}

ControlStates AfterScanStarted(ControlStates states) {
  states.browse = false;
  states.scan_file = false;
  states.select_file = false;
  states.repair = false;
  return states;
}

ControlStates AfterScanOpenedFile(ControlStates states) {
  states.tree = false;
  return states;
}

ControlStates AfterScanFinished(ControlStates states) {
  states.browse = true;
  states.scan_file = false;
  states.stop = false;
  states.save = true;
  states.select_file = true;
  states.repair = false;
  states.save_menu = false;
  states.tree = true;
  return states;
}

ControlStates AfterScanStopped(ControlStates states) {
  states.browse = true;
  states.tree = true;
  return states;
}

ControlStates AfterScanFailed(ControlStates states) {
  states.browse = true;
  states.select_file = true;
  states.scan_file = true;
  states.tree = true;
  return states;
}

ControlStates AfterSaveStarted(ControlStates states) {
  states.browse = false;
  states.scan_file = false;
  states.stop = true;
  states.save = false;
  states.select_file = false;
  states.repair = false;
  states.save_menu = false;
  states.tree = false;
  return states;
}

}  // namespace edb
