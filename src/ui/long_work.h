#pragma once
// Long work of the core (reading a large model, sorting it for a new view
// octant) run on a thread of its own while the window keeps drawing itself.
// Work that ends within a tenth of a second shows nothing; longer work shows
// the wait cursor and its progress in the status bar. The caller keeps the
// model from being edited meanwhile.

#include <QMainWindow>
#include <string>

#include "app/long_work_gate.h"

// Runs the work and returns when it is done, raising what it raised.
void RunLongWorkInWindow(QMainWindow& window, const std::string& what, const TLongWorkGate::TLongWork& work);
