#pragma once
// What a script's steps share: their tables, the argument readers and the
// link to the host's user-interface thread. Each kind of step lives in a file
// of its own (script_<kind>_steps.cpp) with a table of its steps; a new kind
// adds its table to findStep.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace script {

typedef std::vector<std::string> Args;  // the step's name, then its words

struct Step {
  const char* name;
  size_t minArgs;  // words after the step's name
  bool (*run)(const Args&, std::string* error);
};

struct StepTable {
  const Step* steps;
  size_t count;
};

template <size_t N>
StepTable tableOf(const Step (&steps)[N]) {
  return {steps, N};
}

StepTable hostSteps();    // pauses, text, broadcasts, status, registrations, sticky marks
StepTable inputSteps();   // real pointer and keyboard input
StepTable menuSteps();    // the menu kept for the script
StepTable mixerSteps();   // winmm mixer controls
StepTable windowSteps();  // windows, screen pixels, message boxes, screenshots
StepTable fileSteps();    // files, settings files and the style
StepTable readerSteps();  // a screen reader's reading of a window

// On the user-interface thread, once the plug-ins are unloaded: every client
// object a script held is called once more, its answer printed, and released.
void callHeldObjectsOnce();

// The step of that name, or null.
const Step* findStep(const std::string& name);

// The link to the user-interface thread (script_runner.cpp). Once the host
// has quit, ui() and pause() return false at once.
HWND mainWindow();
// Runs the task on the user-interface thread and waits for it.
bool ui(const std::function<bool()>& task);
// Queues the task there and returns at once.
bool post(const std::function<void()>& task);
// Sleeps for `ms`; false when the host quit meanwhile.
bool pause(DWORD ms);
// Waits until the user-interface thread has handled the input and messages
// sent so far (or two seconds pass: a window that never validates is not an error).
void settle();

// A press closes an open popup menu, and with it the menu kept for the script
// (script_menu_steps.cpp).
void closeShownMenu();

// Argument readers (script_steps.cpp): each returns false with the reason.
bool fail(std::string* error, const std::string& why);
bool number(const std::string& text, int* value, std::string* error);
// Decimal or 0x-hexadecimal, full 32-bit unsigned range (mixer identifiers).
bool unsignedNumber(const std::string& text, unsigned* value, std::string* error);
bool yesNo(const std::string& text, bool* value, std::string* error);
// This process's windows of the class (system classes such as
// tooltips_class32 have windows in other programs too), hidden ones included
// so that hiding one does not renumber the others: first those in
// `registered`, in its order, then the rest in the system's enumeration order.
std::vector<HWND> ownWindowsOfClass(const char* name, const std::vector<HWND>& registered);
// "CLASS" or "CLASS#N" split into the class and N (1 without a number);
// false when N is below 1. A class may itself start with '#' ("#32770").
bool splitWindowName(const std::string& name, std::string* cls, int* n, std::string* error);
// The window "CLASS#N" names: the N-th (from 1) of this process's windows of
// the class, counted in the order they registered with the host for
// commands; null when there are fewer.
HWND nthWindowOfClass(const std::string& cls, int n);
// The same for a name still to split, failing with the reason.
bool windowOfClass(const std::string& name, HWND* window, std::string* error);
// "screen" (null), "host" (the host's own window) or a window as windowOfClass names it.
bool target(const std::string& name, HWND* window, std::string* error);
// A target that must be a window, not the screen.
bool windowArg(const std::string& name, HWND* window, std::string* error);
// (x, y) relative to the target's top-left corner, in screen coordinates.
bool toScreen(const std::string& name, int x, int y, POINT* at, std::string* error);
// a[from] is the target, a[from + 1] and a[from + 2] the coordinates.
bool pointArgs(const Args& a, size_t from, POINT* at, std::string* error);

}  // namespace script
