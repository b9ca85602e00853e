#pragma once

#include "CMainDialog.h"
#include "ModalDriver.h"
#include "RegistryProfileStore.h"
#include "ScratchKey.h"
#include "Win32Prompts.h"

#include <ctime>
#include <functional>
#include <string>
#include <vector>

// The program's main window over a scratch key of the registry, with the clock and the beep in the test's hands
// and every modal window driven: Run opens the window, runs the body inside its modal loop and closes it.
class MainWindowRig {
public:
    explicit MainWindowRig(const std::wstring& keyName);

    using Body = std::function<void(HWND main, Win32Ui::CMainDialog& dialog)>;
    // Windows that come while the window loads (error boxes) are expected on driver before Run. With more than one
    // body, each runs on a later turn of the window's loop than the one before, after the loop has waited for
    // messages in between.
    void Run(const Body& body, const char* file, int line) { Run(std::vector<Body>{body}, file, line); }
    void Run(const std::vector<Body>& bodies, const char* file, int line);

    ScratchKey key;
    ModalDriver driver;
    Win32Ui::Win32Prompts prompts;
    int beeps = 0;
    // Each request for attention to the main window and each withdrawal, in order.
    std::vector<bool> attention;
    std::time_t now;
    // Whether Run clicks Exit after the last body; without, the last body must end the window itself, and a
    // window still up after it fails the test at the driver's next look.
    bool exitAfterLastBody = true;

    // Stores a valid message in slot index, dated at the local time when, as the program would store it.
    void StoreMessage(int index, const std::wstring& name, std::time_t when, bool everyDay = false);
    void StoreCount(int count);
};

#define RUN_MAIN(rig, ...) (rig).Run((__VA_ARGS__), __FILE__, __LINE__)

// The texts of the list's lines, top to bottom.
std::vector<std::wstring> ListTexts(HWND main);
// Marks a line as the mouse would, or double-clicks it.
void ClickLine(HWND main, int index);
void DoubleClickLine(HWND main, int index);
