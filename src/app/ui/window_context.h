// What the window's workers work with: the store session, the window, the
// record handlers, where damage is reported, the gate of Stop and the tree
// items the window keeps beside the model. A context lives as long as the
// window (or the command, or the test) that made it; its members must too.
//
// Reading(events) gives the store-level context for one piece of work whose
// events go to `events` (usually a WindowEvents over this context).
#pragma once

#include "base/corruption_reporter.h"
#include "base/pause_gate.h"
#include "store/record_handlers.h"
#include "store/store_session.h"
#include "store/table_walk.h"
#include "app/ui/window_port.h"
#include "app/ui/window_tree.h"

namespace edb {

struct WindowContext {
  StoreSession& session;
  WindowPort& window;
  RecordHandlers& handlers;
  CorruptionReporter& corruption;
  PauseGate* gate = nullptr;
  WindowTree tree = {};

  ReadContext Reading(StoreEvents& events) { return ReadContext{session, events, handlers, corruption, gate}; }
};

}  // namespace edb
