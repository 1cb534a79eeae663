#pragma once
// winmm mixer devices by product name. Device indices shift when a device is
// added or removed (a USB headset plugged in moves every later device), so a
// stored binding also keeps the name of its device.

// The product name of device, terminated and cut to fit; false when the
// device cannot say.
bool mixerDeviceName(unsigned device, char* name, int size);
// The device a stored binding means: the one with the stored name, the stored
// index first. An empty name (files written before names were kept) means the
// stored index. False when no device has the name: the device is absent, and
// whatever has its index now is some other device.
bool mixerDeviceFor(unsigned stored, const char* name, unsigned& device);
