#pragma once

// The COM apartment of the user-interface thread, entered on first need and
// left at stop. The host may have initialised COM already, in either model.

// True when COM can be used on this thread.
bool enterComApartment();
// Undoes exactly what enterComApartment did; nothing when it did nothing.
void leaveComApartment();
