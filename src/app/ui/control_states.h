// Which commands of the main window are enabled as the work moves on: the
// four buttons, the three File menu items that can be grayed, and the folder
// tree. Each transition changes only the controls it names and leaves the
// rest as they were. Repair and Save in the menu stay grayed throughout;
// their commands are reached through the Scan File and Save buttons.
#pragma once

namespace edb {

struct ControlStates {
  bool browse = true;       // button 1001
  bool scan_file = false;   // button 1002
  bool stop = false;        // button 1022
  bool save = false;        // button 1007
  bool select_file = true;  // menu 32771
  bool repair = false;      // menu 32772
  bool save_menu = false;   // menu 32773
  bool tree = true;         // tree 1003

  friend bool operator==(const ControlStates&, const ControlStates&) = default;
};

// The window as it opens: only Browse (and Select File) enabled.
ControlStates InitialControls();
ControlStates AfterBrowseConfirmed(ControlStates states);
ControlStates AfterScanStarted(ControlStates states);
// The scan worker has opened the file and reads its tables.
ControlStates AfterScanOpenedFile(ControlStates states);
ControlStates AfterScanFinished(ControlStates states);
ControlStates AfterScanStopped(ControlStates states);
// The scan could not open the file: Browse again, and Scan File to retry.
ControlStates AfterScanFailed(ControlStates states);
// A save runs: only Stop stays enabled, so nothing else reaches the store's
// lists while the save worker reads them. When the save ends, whatever way,
// the window goes back to the states it had before the save started.
ControlStates AfterSaveStarted(ControlStates states);

}  // namespace edb
