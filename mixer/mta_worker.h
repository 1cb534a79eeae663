#pragma once
// A thread of the plug-in's own in the multithreaded apartment. The system
// tells of new audio sessions only a client that registered from the MTA,
// while the shell's user-interface thread is apartment-threaded, and its
// apartment is never changed: registrations go through this thread instead.
// It runs while some slider holds an application binding.

// Starts the thread for one more user; false when it cannot be had.
bool enterMtaWorker();
// One user fewer; the last one ends the thread.
void leaveMtaWorker();
// Runs task(argument) on the worker and waits for it; runs nothing and
// returns false while no worker runs.
bool runOnMtaWorker(void (*task)(void*), void* argument);
