#pragma once
// The objects handed out to accessibility clients may outlive their slider,
// the plug-in's stop and its unloading: a client releases them when it
// pleases. They are counted, so that at stop the module knows whether its
// code must stay.

void objectMade();
void objectGone();
int objectsHeld();

// At stop, once every window is gone and its objects disconnected: while a
// client still holds one, this module is pinned (its code then outlives the
// shell's unloading, and the object's next call answers an error rather than
// jumping into freed memory), and uiautomationcore stays loaded with it.
void keepCodeForHeldObjects();
